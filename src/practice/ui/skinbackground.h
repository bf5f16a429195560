#pragma once

class QPixmap;
class QWidget;

namespace skin {

// Paints the picture under widget's children, stretched to the widget's size and following every
// resize. An empty picture (missing file) leaves the widget as it is.
void setBackground(QWidget *widget, const QPixmap &picture);

} // namespace skin

#pragma once

#include <QString>

class Browser;
class MainWindow;
class QPixmap;
class QPushButton;
class QWidget;

namespace content {

// Fills the handout, guide, help centre and demonstration panels of the main window and ties them
// to their navigation buttons.
void installPanels(MainWindow *main);

// The panel's browser created by the main window (a new one if it has none), shown.
Browser *adoptBrowser(QWidget *panel, const QString &name);

// A flat button with a glyph on the left, as the content panels build them at run time.
QPushButton *entryButton(const QString &caption, const QString &objectName, const QString &accessibleName,
                         const QPixmap &glyph, QWidget *parent);

} // namespace content

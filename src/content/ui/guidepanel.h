#pragma once

#include <QWidget>

class Browser;
class MainWindow;
class QGroupBox;

// The exam guide content of Panel10: the group "考试指南" (guideBox) with one button per ks_dg row
// ("ks_dg" + row number) and the browser wb3. A button finds its entry again by its caption.
class GuidePanel final : public QWidget
{
    Q_OBJECT
public:
    GuidePanel(MainWindow *main, QWidget *panel10);

    // The navigation button "考试指南".
    void open();
    void guideClicked(const QString &caption);

private:
    MainWindow *m_main;
    QGroupBox *m_box = nullptr;
    Browser *m_wb3 = nullptr;
};

#pragma once

#include <QWidget>

class Browser;
class MainWindow;
class QGroupBox;
class QPushButton;

// The help centre content of Panel13: the group "帮助中心" (helpBox) with one button per ks_ad row
// ("help" + row number), below them the manual update button SpeedButton45 "  手工升级题库" that
// starts the updater, and the browser wb6.
class HelpPanel final : public QWidget
{
    Q_OBJECT
public:
    HelpPanel(MainWindow *main, QWidget *panel13);

    // The navigation button "帮助中心".
    void open();
    void helpClicked(const QString &caption);
    // "  手工升级题库"
    void manualUpdate();

private:
    MainWindow *m_main;
    QGroupBox *m_box = nullptr;
    QPushButton *m_updateButton = nullptr;
    Browser *m_wb6 = nullptr;
};

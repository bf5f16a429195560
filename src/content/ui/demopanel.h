#pragma once

#include <QWidget>

class MainWindow;
class QMediaPlayer;
class QPushButton;
class QGraphicsVideoItem;
class QGraphicsView;

// The demonstration content of Panel14: the group " 操作演示 " (demoBox) with "  安装演示"
// (SpeedButton47, data/mpg/1.wmv) and "  使用演示" (SpeedButton49, data/mpg/3.wmv), and the player
// mp1 (a video item in a graphics view) in Panel21. The main window stops the player when another panel comes to the
// front. A missing or unplayable video is reported; the panel stays usable.
class DemoPanel final : public QWidget
{
    Q_OBJECT
public:
    DemoPanel(MainWindow *main, QWidget *panel14);

    // Replaced by a new one after a failure.
    QMediaPlayer *player() const { return m_player; }

    // The navigation button "操作演示".
    void open();
    // Plays data/mpg/<file> of the program folder.
    void play(const QString &file);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createPlayer();
    void reportError();

    MainWindow *m_main;
    QPushButton *m_install = nullptr;
    QPushButton *m_usage = nullptr;
    QWidget *m_panel21 = nullptr;
    QGraphicsView *m_video = nullptr;
    QGraphicsVideoItem *m_item = nullptr;
    QMediaPlayer *m_player = nullptr;
    QString m_playing; // "data/mpg/1.wmv" while it is the player's source
};

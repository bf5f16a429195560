#pragma once

#include <QStringList>
#include <QWidget>

class Browser;
class MainWindow;
class QComboBox;
class QProgressBar;
class QPushButton;
class QScrollArea;

// The handout content of Panel11: the course list ("课程列表", handoutCourses), the chapter buttons
// ("课程目录", "a" + c_id), the package button SpeedButton51 "课程讲义打包" in the top strip and the
// browser wb4 ("课程讲义"). The strip also holds the progress bar of notice downloads
// (handoutProgress, hidden).
class HandoutPanel final : public QWidget
{
    Q_OBJECT
public:
    HandoutPanel(MainWindow *main, QWidget *panel11);

    QProgressBar *progressBar() const { return m_progress; }
    QString packageTarget() const { return m_package; }

    // The navigation button "课程讲义".
    void open();
    void courseChosen(int index);
    void chapterClicked(const QString &chapterId);
    // "课程讲义打包"
    void openPackage();

private:
    QWidget *buildCourseColumn();
    QWidget *buildStrip();
    void addChapterButton(int i, const QString &chapterId, const QString &name);

    MainWindow *m_main;
    QStringList m_courseIds; // course_ids
    QString m_package;       // the package target
    QComboBox *m_courses = nullptr;
    QScrollArea *m_chapterScroll = nullptr;
    QWidget *m_chapterArea = nullptr;
    QPushButton *m_packageButton = nullptr;
    QProgressBar *m_progress = nullptr;
    Browser *m_wb4 = nullptr;
};

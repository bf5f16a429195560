#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

class MainWindow;
class PracticeResultPanel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QStackedWidget;

// The chapter-practice content of Panel6: the course list, the chapter buttons, the chapter's
// question counts, how many of each type to practise with the run options, and the start button
// that builds the session and opens the practice window. The right-hand side is a stack of boxes
// (question-bank information and settings, practice results) of which one is in front.
//
// Controls carry the form's names: ComboBox1, gb3, ScrollBox1, Label15, Label12, Label98, Label145,
// Label146, Label95, Label96, Label97, Label76, Label174, Label165, CheckBox9, CheckBox5, CheckBox6,
// CheckBox7, CheckBox10, Edit1, Edit2, Edit9, Edit13 (counts), CheckBox1, Edit3 (seconds),
// CheckBox2, Edit8 (font size), Label94, sd1; chapter buttons "s" + c_id. Each Edit is a spin box
// with its UpDown's range, so only numbers reach the build.
class ChapterPracticePanel final : public QWidget
{
    Q_OBJECT
public:
    ChapterPracticePanel(MainWindow *main, QWidget *panel6);

    QStackedWidget *boxes() const { return m_boxes; }
    PracticeResultPanel *resultPanel() const { return m_result; }
    QString currentChapterId() const { return m_chapterId; }
    QString courseId(int index) const { return m_courseIds.value(index); }

    // The navigation button: fills the course list and chooses the first course.
    void open();
    void courseChosen(int index);
    void chapterChosen(const QString &chapterId);
    // "开始练习"
    void sd1Click();

private:
    QWidget *buildCourseColumn();
    QWidget *buildInfoPage();
    // One of the boxes on the information picture (skin/bg11.bmp).
    QGroupBox *informationBox(const QString &title, const QString &name);
    QGroupBox *buildCountsBox();
    QGroupBox *buildSettingsBox();
    void resetCounts();
    void showChapterCounts();
    void setCountsEnabled(bool enabled);
    void allToggled(bool checked);
    // The fourth type's short name beside its box, and the name its count box is read out by.
    void setFourthShort(const QString &name);
    // Chapter buttons come right after the course list in the tab order.
    void chainChapterButtons();
    void countChanged(int type, int value);
    void addChapterButton(int k, const QString &chapterId, const QString &name);

    MainWindow *m_main;
    QStringList m_courseIds;
    QString m_chapterId;
    int m_fourthType = 0;
    bool m_quiet = false; // set while the panel itself writes counts and boxes

    QGroupBox *m_courseBox = nullptr; // ComboBox1 and the targeted-practice mode buttons
    QComboBox *m_courses = nullptr;
    QGroupBox *m_chapterBox = nullptr;
    QScrollArea *m_chapterScroll = nullptr;
    QWidget *m_chapterButtons = nullptr;
    QStackedWidget *m_boxes = nullptr;
    QWidget *m_info = nullptr;
    PracticeResultPanel *m_result = nullptr;
    QLabel *m_chapterName = nullptr;
    QLabel *m_total = nullptr;
    std::array<QLabel *, 3> m_typeCounts{};
    std::array<QLabel *, 3> m_typeTexts{};
    QLabel *m_fourthLine = nullptr;
    QLabel *m_fourthShort = nullptr;
    QCheckBox *m_all = nullptr;
    std::array<QCheckBox *, 4> m_include{};
    std::array<QSpinBox *, 4> m_counts{};
    QCheckBox *m_autoAdvance = nullptr;
    QSpinBox *m_seconds = nullptr;
    QCheckBox *m_random = nullptr;
    QSpinBox *m_fontSize = nullptr;
    QLabel *m_preview = nullptr;
    QPushButton *m_start = nullptr;
};

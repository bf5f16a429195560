#pragma once

#include "exam/examsession.h"

#include <QPointer>
#include <QWidget>

class ExamResultPanel;
class ExamWindow;
class InstructionsWindow;
class MainWindow;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class QVBoxLayout;
namespace paper {
struct Built;
}

// The mock-exam panel inside Panel9: course list and paper buttons, the paper's information lines,
// exam minutes, the timed option and the font size, and the starts of a fixed and of a random
// paper, which build the session, prepare the exam window and lead through the instructions
// window. The exam-result group shares the right-hand side with the information box.
class MockExamPanel final : public QWidget
{
    Q_OBJECT
public:
    MockExamPanel(MainWindow *main, QWidget *panel9);
    ~MockExamPanel() override;

    ExamWindow *examWindow() const;
    InstructionsWindow *instructionsWindow() const;
    ExamResultPanel *resultPanel() const { return m_results; }
    QString sessionKind() const { return m_sessionKind; }

    // The navigation button "模拟考场" (also after maximise/restore while Panel9 is in front).
    void openPanel();
    void chooseCourse(int index);
    void choosePaper(const QString &cId);
    void startFixed();
    void startRandom();

    // What the review modes take from the panel: the minutes and font-size boxes and the inputs of
    // the exam launched last (its course and paper names).
    int examMinutes() const;
    int examFontSize() const;
    const ExamInputs &lastExam() const { return m_lastExam; }
    // Opens the exam window of a review mode after closing the open one: no instructions and no
    // countdown, the main window stays enabled. nullptr (message shown) when the session cannot be read.
    ExamWindow *openReview(const ExamInputs &inputs);

private:
    QWidget *buildCourseSide();
    QWidget *buildInfoBox();
    void clearPaperButtons();
    void setSessionKind(bool random);
    void launch(const paper::Built &built, const QString &courseName, const QString &paperName, bool random);
    void onHandedIn();

    MainWindow *m_main = nullptr;
    QString m_sessionKind;
    QString m_paperId;
    QString m_paperName;
    QString m_paperCourse;
    QStringList m_courseIds;

    QGroupBox *m_courseBox = nullptr;
    QComboBox *m_courses = nullptr;        // ComboBox2
    QGroupBox *m_paperBox = nullptr;       // gb22
    QWidget *m_paperList = nullptr;        // ScrollBox2's content
    QList<QToolButton *> m_paperButtons;
    QToolButton *m_random = nullptr;       // SpeedButton33
    QStackedWidget *m_right = nullptr;
    QGroupBox *m_info = nullptr;           // GroupBox20
    QLabel *m_kindLabel = nullptr;         // Label99
    QLabel *m_paperLabel = nullptr;        // Label106
    QLabel *m_count = nullptr;             // Label109
    QLabel *m_countUnit = nullptr;         // Label111
    QLabel *m_single = nullptr;            // Label118
    QLabel *m_multiple = nullptr;          // Label119
    QLabel *m_judge = nullptr;             // Label120
    QLabel *m_fourthName = nullptr;        // Label74
    QLabel *m_fourthLine = nullptr;        // Label73
    QSpinBox *m_minutes = nullptr;         // Edit11
    QCheckBox *m_timed = nullptr;          // CheckBox8
    QSpinBox *m_fontSize = nullptr;        // Edit10 with UpDown10
    QLabel *m_preview = nullptr;           // Label108
    QToolButton *m_start = nullptr;        // SpeedButton32
    ExamResultPanel *m_results = nullptr;
    ExamInputs m_lastExam;
    QPointer<ExamWindow> m_exam;
    QPointer<InstructionsWindow> m_instructions;
};

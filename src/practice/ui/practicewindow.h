#pragma once

#include "practice/practiceclock.h"
#include "practice/practiceinputs.h"
#include "practice/practicesession.h"
#include "practice/practicetotals.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class PracticeSidePanel;
class QLabel;
class QPushButton;
class QSoundEffect;
class QTimer;
class QuestionPicker;
class PracticeQuestionView;

// The practice window (Tch_page): one session's questions one at a time, answered, judged and
// recorded when the learner moves on, with the forced-switch countdown, the elapsed clock, marks,
// the answer panel and the finish step. All database work goes through practice::PracticeSession
// and the totals functions; a database error is shown and leaves the window on its question.
//
// An opener creates it, calls setInputs() and shows it; on showing it opens the question set.
// Handlers keep the names of the form's actions; the timer ticks are plain slots tests call.
// Object names besides those of PracticeQuestionView and PracticeSidePanel: Image1 (header picture),
// headerCourse, headerChapter, showAnswerButton, markButton, essenceButton, previousButton,
// nextButton, pickButton, Timer1 (countdown), Timer2 (elapsed clock).
class PracticeWindow final : public QWidget
{
    Q_OBJECT
public:
    enum class FinishOutcome { Finished, Declined, Failed };

    // beep: play data/alert.wav in the last five seconds of the countdown.
    explicit PracticeWindow(bool beep, QWidget *owner = nullptr);
    ~PracticeWindow() override;

    void setInputs(const practice::PracticeInputs &inputs);
    const practice::PracticeInputs &inputs() const { return m_inputs; }
    const practice::PracticeSession &session() const { return m_session; }
    bool isFinished() const { return m_finished; }
    QString elapsedText() const { return m_elapsed.text(); }

    // The one practice window of the program, if open.
    static PracticeWindow *current();
    static void setCurrent(PracticeWindow *window);
    // Asks the open practice window to close (its close request); false when it stays open.
    static bool closeCurrent();

    // Plays a sound file; by default a QSoundEffect child named alertSound. Tests put a recorder here.
    using SoundPlayer = std::function<void(const QString &file)>;
    void setSoundPlayer(SoundPlayer player) { m_soundPlayer = std::move(player); }

    // Records the current input (check_answerClick); false after a database error, which was shown.
    bool recordAnswer();
    // The finish step ("退出练习"). A database error is shown with what could not be stored.
    FinishOutcome finish();

public Q_SLOTS:
    void check_answerClick() { recordAnswer(); }
    void nextClick();
    void previousClick();
    void pickClick();
    void markClick();
    void essenceClick();
    void showAnswerClick();
    void showAllClick();
    void finishClick() { finish(); }
    void Timer1Timer();
    void Timer2Timer();

Q_SIGNALS:
    // The totals are stored; the window closes right after.
    void finished(const practice::PracticeResult &result);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildHeader(QWidget *header);
    QWidget *buildToolbar();
    void openQuestionSet();
    void fillTypeCounts();
    // keepInput: the current row stays and only its values changed (marks).
    void refresh(bool keepInput = false);
    void loadEditorIfCalculation();
    // recordAnswer() without the message: throws db::Error.
    void storeInput();
    void afterMove();
    void move(bool forward);
    void goTo(int index);
    bool guarded(const std::function<void()> &step);
    void playBeep();

    bool m_beep = false;
    practice::PracticeInputs m_inputs;
    practice::PracticeSession m_session;
    practice::ForcedSwitch m_countdown{0, 0};
    practice::ElapsedClock m_elapsed;
    bool m_finished = false;
    bool m_opened = false;
    bool m_inTick = false;
    SoundPlayer m_soundPlayer;

    QLabel *m_image = nullptr;
    QLabel *m_headerCourse = nullptr;
    QLabel *m_headerChapter = nullptr;
    PracticeQuestionView *m_question = nullptr;
    PracticeSidePanel *m_side = nullptr;
    QuestionPicker *m_picker = nullptr;
    QPushButton *m_showAnswer = nullptr;
    QPushButton *m_mark = nullptr;
    QPushButton *m_essence = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
    QSoundEffect *m_sound = nullptr;
};

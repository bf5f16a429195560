#pragma once

#include "exam/examsession.h"

#include <QSqlDatabase>
#include <QWidget>

class AnswerCardView;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;
class ExamQuestionView;

// The exam window (Tex_page, form ex_page): one mock-exam session with its question, answer card,
// information box, clocks and hand-in. The logic lives in ExamSession; this class draws it and
// turns clicks into its operations. A top-level window freed when closed.
class ExamWindow final : public QWidget
{
    Q_OBJECT
public:
    ExamWindow(const QSqlDatabase &db, const ExamInputs &inputs, QWidget *parent = nullptr);
    ~ExamWindow() override;

    // Selects the session's rows and shows the first question; false (message shown) on a
    // database error.
    bool open();

    ExamSession &session() { return *m_session; }
    AnswerCardView *card() const { return m_card; }
    // What the inputs of the current question hold now.
    AnswerInput currentInput() const;
    int fontSize() const { return m_fontSize; }
    bool countdownRunning() const;
    bool elapsedRunning() const;

public Q_SLOTS:
    void startCountdown();
    // The two clocks' once-a-second handlers.
    void elapsedTick();
    void countdownTick();
    // "交卷": two confirmations, then the totals.
    void handIn();
    void chooseNode(int index);

Q_SIGNALS:
    void handedIn(const exam::ExamResult &result);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *buildTopBar();
    QWidget *buildInfoBox();
    QWidget *buildButtons();
    // Mode picture, answer panel, answer cover and mark state of a review mode.
    void applyReviewInputs();
    QToolButton *pictureButton(const QString &name, const QString &picture, const QString &fallback);
    void setPicture(QToolButton *button, const QString &picture);

    enum class Step { First, Previous, Next, Last };
    void navigate(Step step);
    void onQuestionChanged();
    void onCardChanged();
    void onInputsRestored();
    void onSubQuestionChanged();
    void toggleAnswer();
    void toggleCard();
    void changeFontSize(int delta);
    void openCalculator();
    void stopClocks();
    void finishWith(const exam::Totals &totals);
    // Runs a database operation; an error is shown and the window stays as it is.
    template <typename F> bool guarded(F &&operation);

    ExamSession *m_session = nullptr;
    int m_fontSize = 12;
    bool m_elapsedStarted = false;
    QTimer *m_elapsed = nullptr;
    QTimer *m_countdown = nullptr;

    ExamQuestionView *m_view = nullptr;
    AnswerCardView *m_card = nullptr;
    QWidget *m_side = nullptr;
    QToolButton *m_collapse = nullptr;
    QLabel *m_countdownText = nullptr;
    QWidget *m_modePanel = nullptr; // Panel40
    QLabel *m_modeImage = nullptr;  // Image3
    QLabel *m_counter = nullptr;    // Label3
    QLabel *m_elapsedText = nullptr;
    QLabel *m_markState = nullptr;
    QToolButton *m_first = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QToolButton *m_last = nullptr;
    QPushButton *m_mark = nullptr;
    QPushButton *m_answer = nullptr;
};

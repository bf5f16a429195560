#pragma once

#include "exam/answercard.h"
#include "exam/examclock.h"
#include "exam/examdata.h"
#include "exam/examrecorder.h"
#include "exam/handin.h"
#include "exam/sessioncursor.h"
#include "practice/entrycheck.h"

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

#include <optional>

// What the opener of the exam window hands over before showing it.
struct ExamInputs
{
    QString pageId;
    SessionCursor::Filter filter = SessionCursor::Filter::All;
    QString sessionKind;  // "模拟考试", "随机考试", "重新考试"
    int questionTotal = 0;
    int examSeconds = 0;
    int fontSize = 12;    // 0 reads as 12
    double fullMarks = 0;
    QString courseName;
    QString paperName;
    QString startText;    // Label8
    QString durationText; // Label9
    QString counterText;  // Label3 until the first move
    // Review modes
    QString modePicture;           // Image3 of Panel40, e.g. "skin/e_2.bmp"; empty: Panel40 hidden
    bool answerPanelShown = false; // the answer panel opens with the window
    bool answerCover = true;       // covers the learner's answers in the answer panel
    bool startMarked = false;      // "是否标记:" starts at "已标记"
};

// What the learner has put into the inputs of the current question, read by the window when the
// answer is recorded.
struct AnswerInput
{
    exam::Boxes boxes{};
    practice::EditorContent editor; // calculation questions
};

// The answer panel's texts for the current question and selected node.
struct AnswerPanelTexts
{
    QString analysis;
    QString correct;
    QString yours;
    bool subRow = false; // the per-sub-item row of calculation and case questions is shown
    QList<practice::SubItemCheck> entryChecks; // a judged entries-mode answer, line by line
};

// The exam window's logic: the session cursor and its question, the answer card with its
// selection and remembered key, recording and restoring, marks for later, the clocks and hand-in.
// The window draws what this holds and reacts to its signals.
class ExamSession final : public QObject
{
    Q_OBJECT
public:
    ExamSession(const QSqlDatabase &db, const ExamInputs &inputs, QObject *parent = nullptr);

    // Selects the session's rows and shows the first one. Throws db::Error.
    void start();

    const ExamInputs &inputs() const { return m_inputs; }
    SessionCursor &cursor() { return m_cursor; }
    const std::optional<exam::Question> &question() const { return m_question; }
    const std::optional<exam::AnswerRow> &row() const { return m_row; }
    const std::optional<exam::SubQuestion> &subQuestion() const { return m_sub; }
    int type() const { return m_question ? m_question->type : 0; }

    const exam::AnswerCard &card() const { return m_card; }
    int selected() const { return m_selected; }
    const exam::CardNode *selectedNode() const;
    std::optional<exam::NodeKey> remembered() const { return m_remembered; }

    QString markCaption() const { return m_markCaption; }
    bool markedEver() const { return m_markedEver; }
    AnswerPanelTexts answerPanel() const;
    // Calculation questions: the question number shown in the sub-item captions and the sub-item
    // whose caption is red (0: none).
    int calcNumber() const;
    int redSubItem() const { return m_redSubItem; }

    // Navigation texts of the current row.
    QString counterText() const;
    QStringList navigationPictures() const; // first, previous, next, last

    // The current question's inputs as they were recorded: boxes, or the editor's content.
    struct Restore
    {
        exam::Boxes boxes{};
        bool calc = false;
        practice::EditorContent editor;
    };
    Restore restoreView() const { return m_restore; }
    exam::Boxes subQuestionBoxes() const;

    // Operations of the window; database errors are thrown as db::Error. When the question moved to
    // cannot be read, the cursor, question, card and selection stay on the row shown before.
    bool check(const AnswerInput &input); // check_answer: true when something was written
    void choose(int index, const AnswerInput &input);
    void next(const AnswerInput &input);
    void previous(const AnswerInput &input);
    void first(const AnswerInput &input);
    void last(const AnswerInput &input);
    void toggleMark();

    ExamClock &clock() { return m_clock; }
    exam::Totals totals() const;
    // Writes the page_total row and gives the result panel's texts.
    exam::ExamResult finish(const exam::Totals &totals);

Q_SIGNALS:
    void questionChanged();    // a new current question: texts and which inputs show
    void cardChanged();        // the card was rebuilt or its selection moved
    void inputsRestored();     // set_case_static: put restoreView() into the inputs
    void subQuestionChanged(); // the selected case sub-question changed

private:
    void onMoved();
    bool moveCursor(int row);
    void throwDispatchError();
    void rebuildCard();
    void applyCard(exam::AnswerCard card);
    void showSubAnswer();
    void restoreInputs();
    void selectSubQuestion(int sub);
    void reloadRow();
    void jump(int row, const AnswerInput &input);

    QSqlDatabase m_db;
    ExamInputs m_inputs;
    SessionCursor m_cursor;
    std::optional<exam::Question> m_question;
    std::optional<exam::AnswerRow> m_row;
    std::optional<exam::SubQuestion> m_sub;
    exam::AnswerCard m_card;
    int m_selected = -1;
    std::optional<exam::NodeKey> m_remembered;
    QString m_markCaption = QStringLiteral("待查");
    bool m_markedEver = false;
    int m_redSubItem = 0;
    exam::SubAnswer m_subAnswer;
    bool m_subRow = false;
    Restore m_restore;
    ExamClock m_clock;
    // A database error met while reacting to the cursor's moved() signal: kept there, since an
    // exception must not unwind through Qt's signal dispatch, and thrown once the move returns.
    std::optional<QString> m_dispatchError;
    bool m_moveFailed = false; // the new row could not be shown; the cursor goes back
    bool m_restoring = false;  // moving back to the row still shown
};

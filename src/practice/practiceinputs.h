#pragma once

#include <QString>

// What an opener hands to the practice window before showing it (chapter practice, targeted
// practice and the review modes of the result panel).
namespace practice {

// Which rows of the working copy the window shows; every set is ordered by type, question and
// sub-question number.
enum class QuestionSet {
    Session,       // all rows of the session
    AnsweredWrong, // rows of questions answered and judged wrong
    AnsweredRight, // rows of questions answered and judged right
    Unanswered,    // rows of questions not answered
    WholeTable,    // every row of the working copy
};

struct PracticeInputs
{
    QString sessionKind;      // window caption, stored with the totals
    int countdownStart = 0;   // first value of the forced-switch countdown
    int questionSeconds = 0;  // value the countdown restarts from after every move
    int questionTotal = 0;    // questions of the session (a case question counts once)
    QString startTime;        // "hh:mm:ss"
    bool autoAdvance = false; // forced-switch countdown runs
    bool elapsedClock = true; // elapsed-time clock runs
    QString firstNumber = QStringLiteral("1");
    int startPosition = 1;   // 1-based position in the question set of the first question shown
    QString fourthTypeName;  // "计算分析题:", "案例分析题:", "实务操作题:" or empty
    int fontSize = 0;        // 0 = 12
    bool answerCover = true; // covers the learner's answers in the answer panel
    QuestionSet questionSet = QuestionSet::Session;
    QString pageId; // the session the question set belongs to
    // Review modes
    int answerPanelHeight = 0;     // 0 (closed) or 169
    bool showAnswerEnabled = true; // the "显示答案" button
    QString headerPicture;         // program-relative picture of the header, e.g. "skin/e_1.bmp"
};

} // namespace practice

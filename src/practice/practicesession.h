#pragma once

#include "practice/entrytext.h"
#include "practice/judging.h"
#include "practice/practiceinputs.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <array>

// The practice window's question set and everything it does with the database: the rows of the
// working copy it shows, the current row and the moves between rows, the answer record of the
// current question, marks, and recording an answer. Writes go to the working row (tmp) and the
// answer record (test_page); methods that write throw db::Error and leave nothing half-written.
namespace practice {

// One row of the question set: a question, or one sub-question of a case question.
struct PracticeRow
{
    QString course;
    QString chapter;
    QString pId;
    QString pageId;
    QString type; // "1".."6"
    QString stem;
    std::array<QString, 6> options; // option texts, or the correct answers of calculation sub-items
    QString correct;
    QString memo;
    bool amountsMode = false;
    double score = 0;
    QString subNumber; // "0" when not a case question
    QString subStem;
    Choices chosen{};
    bool done = false;
    bool right = false;
    bool marked = false;
    bool essence = false;

    // 1..6, or 0 for any other code (codes compare exactly: " 1" is not 1).
    int typeCode() const
    {
        return type.size() == 1 && type[0] >= u'1' && type[0] <= u'6' ? type[0].unicode() - u'0' : 0;
    }
};

// The current question's answer record (test_page).
struct AnswerRecordState
{
    bool exists = false;
    Choices boxes{};
    QString answer;
    QString firstAnswer;
    bool done = false;
    bool right = false;
    bool marked = false;
    bool essence = false;
    double score = 0;
};

// What the learner entered for the current question.
struct AnswerInput
{
    Choices boxes{};
    EditorContent editor;
};

class PracticeSession final
{
public:
    explicit PracticeSession(const QSqlDatabase &db)
        : m_db(db)
    {
    }
    const QSqlDatabase &database() const { return m_db; }

    // Loads the question set and makes its first row current.
    void open(QuestionSet set, const QString &pageId);
    bool isOpen() const { return m_open; }

    const QList<PracticeRow> &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }
    int index() const { return m_index; } // 0-based, -1 when the set is empty
    const PracticeRow *current() const { return m_index >= 0 ? &m_rows.at(m_index) : nullptr; }
    bool atLast() const { return m_index == count() - 1; }
    bool pastEnd() const { return m_pastEnd; }

    // Forward: at the last row the row stays and the set counts as run past its end, after which
    // forward moves do nothing until a backward move or a pick.
    void next();
    void previous();
    void setIndex(int index);

    // 1-based position among the rows of its type in the question set.
    int numberWithinType() const;

    // Rows of the whole working copy per type 1..6 (index 0 unused).
    std::array<int, 7> typeCountsOfWorkingCopy() const;

    // Re-reads the answer record of the current question and copies the row's marks into it.
    void reloadRecord();
    const AnswerRecordState &record() const { return m_record; }

    // Marks belong to the question: every row of a case question follows, and so does its record.
    void toggleMark();
    void toggleEssence();

    // Judges and records the input for the current row (check_answerClick).
    void check(const AnswerInput &input);

    // The editor content of the current calculation question; an answered entries-mode record
    // without any entry line is turned back into an unanswered one.
    EditorContent editorContent();

private:
    void checkChoice(const PracticeRow &row, const AnswerInput &input);
    void checkCalculation(const PracticeRow &row, const AnswerInput &input);
    void setMarkFlag(const QString &column, bool PracticeRow::*field, bool value);
    void readRecord();

    QSqlDatabase m_db;
    bool m_open = false;
    QList<PracticeRow> m_rows;
    int m_index = -1;
    bool m_pastEnd = false;
    AnswerRecordState m_record;
};

// Type names as the header and the question list show them ("" outside 1..6).
QString typeName(const QString &type);
// The name the side panel shows after "本题为:" (type 6 reads "实务操作分析题").
QString sidePanelTypeName(const QString &type);

} // namespace practice

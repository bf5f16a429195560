#pragma once

#include "practice/judging.h"
#include "practice/practicesession.h"

#include <QGroupBox>

#include <array>
#include <optional>

class EntryCheckView;
class EntryEditor;
class QCheckBox;
class QLabel;
class QStackedWidget;
class QTextEdit;

// The question area "  题 面  " of the practice window: overall number, type, stem, sub-question,
// the options A..F (or the answer editor, or the practical-operation notice) and the answer panel
// with its cover. It shows what it is given and reports the option boxes; it judges nothing.
//
// Object names: overallNumber, typeName, stem, subCaption, subStem, optionArea, option<A..F>,
// optionText<A..F>, entryEditor, practicalNotice, answerPanel, correctAnswer, explanation,
// yourAnswer, firstAnswer, answerCover, entryCheck (an entries-mode answer explained line by line).
class PracticeQuestionView final : public QGroupBox
{
    Q_OBJECT
public:
    static constexpr int kAnswerPanelHeight = 169;

    explicit PracticeQuestionView(QWidget *parent = nullptr);

    // Point size of the stem, sub-question, options, explanation and answers.
    void setTextPointSize(int points);

    // keepChoices: the row is the one on screen and the boxes keep what the learner ticked.
    void showRow(const practice::PracticeRow &row, int overallNumber, bool keepChoices = false);
    // The learner's answers of the current question in the answer panel.
    void showRecord(const QString &type, const practice::AnswerRecordState &record);
    void clear();

    practice::Choices choices() const;
    // A key's tick: clicks option k (0 = A) as the mouse would, when the question offers it.
    void clickOption(int k);
    EntryEditor *editor() const { return m_editor; }

    void setAnswerPanelHeight(int height); // 0 closes it
    int answerPanelHeight() const { return m_answerHeight; }
    void setAnswerCoverShown(bool shown);

private:
    void optionClicked(int index, bool checked);

    int m_type = 0;
    int m_answerHeight = 0;
    QLabel *m_overall = nullptr;
    QLabel *m_typeName = nullptr;
    QTextEdit *m_stem = nullptr;
    QWidget *m_subRow = nullptr;
    QTextEdit *m_subStem = nullptr;
    QStackedWidget *m_inputs = nullptr;
    QWidget *m_optionArea = nullptr;
    std::array<QCheckBox *, 6> m_boxes{};
    std::array<QLabel *, 6> m_texts{};
    EntryEditor *m_editor = nullptr;
    QLabel *m_notice = nullptr;
    QWidget *m_answerPanel = nullptr;
    QLabel *m_correct = nullptr;
    QTextEdit *m_explanation = nullptr;
    QLabel *m_yours = nullptr;
    QLabel *m_first = nullptr;
    QWidget *m_cover = nullptr;
    EntryCheckView *m_check = nullptr;
    std::optional<practice::SubItemAnswers> m_entriesKey; // the key of an entries-mode question
};

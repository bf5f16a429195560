#pragma once

#include "exam/examdata.h"
#include "exam/examrecorder.h"
#include "practice/entrycheck.h"

#include <QWidget>

#include <array>
#include <optional>

class EntryCheckView;
class EntryEditor;
class QCheckBox;
class QLabel;
class QScrollArea;
class QTextEdit;
class QToolButton;
struct AnswerPanelTexts;

// The question side of the exam window: question text, case sub-question box, option rows laid
// out to the pixel rules of the exam, the accounting-entry editor of calculation questions, the
// practical-operation bar and the answer panel. It shows what it is given and hands back what the
// learner put in; it knows no database.
class ExamQuestionView final : public QWidget
{
    Q_OBJECT
public:
    explicit ExamQuestionView(QWidget *parent = nullptr);

    // Question display for a new current question: texts and which inputs show.
    void showQuestion(const exam::Question &question);
    // Type 5: the selected sub-question's stem and options; none leaves the box empty.
    void showSubQuestion(const std::optional<exam::SubQuestion> &sub);

    exam::Boxes boxes() const;
    void setBoxes(const exam::Boxes &boxes);
    // A key's tick: clicks option k (0 = A) as the mouse would, when the question offers it.
    void clickOption(int k);
    EntryEditor *editor() const { return m_editor; }
    // Calculation sub-item captions n-1..n-6, teal, with sub-item red (0: none) in red.
    void setCalcCaptions(int number, int red);

    void setAnswerTexts(const AnswerPanelTexts &texts);
    bool answerShown() const { return m_answerShown; }
    void setAnswerShown(bool shown);
    // The strip over "【您的答案】": shown in an exam, hidden in the review modes.
    void setAnswerCoverShown(bool shown);

    // set_position_word: the font size of the texts and the widths that follow the window.
    void setFontSize(int points);

Q_SIGNALS:
    void practicalInfoRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showEntryChecks();
    void buildOptions(QWidget *area);
    void layoutOptions();
    void onBoxToggled(int index, bool checked);

    int m_type = 0;
    bool m_answerShown = false;
    bool m_settingBoxes = false;
    std::array<QString, 6> m_optionTexts;
    QWidget *m_questionPanel = nullptr;
    QTextEdit *m_questionText = nullptr;
    QWidget *m_subBox = nullptr;
    QLabel *m_subText = nullptr;
    QScrollArea *m_optionScroll = nullptr;
    QWidget *m_options = nullptr;
    std::array<QCheckBox *, 6> m_boxes{};
    std::array<QLabel *, 6> m_texts{};
    EntryEditor *m_editor = nullptr;
    QWidget *m_practicalBar = nullptr;
    QLabel *m_practicalNotice = nullptr;
    QWidget *m_answerPanel = nullptr;
    QTextEdit *m_analysis = nullptr;
    EntryCheckView *m_check = nullptr; // entryCheck
    QList<practice::SubItemCheck> m_checks;
    bool m_coverShown = false;
    QWidget *m_answerRow = nullptr;
    QLabel *m_correct = nullptr;
    QWidget *m_yoursBox = nullptr;
    QLabel *m_yours = nullptr;
    QWidget *m_cover = nullptr; // answerCover
};

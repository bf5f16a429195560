#include "practice/ui/practicequestionview.h"

#include "practice/ui/entrycheckview.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/skinbackground.h"
#include "shell/ui/skin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// An option's text: word-wrapped, and a click on it acts as a click on its box.
class OptionText final : public QLabel
{
public:
    OptionText(QCheckBox *box, QWidget *parent)
        : QLabel(parent)
        , m_box(box)
    {
        setWordWrap(true);
        setCursor(Qt::PointingHandCursor);
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_box->click();
    }

private:
    QCheckBox *m_box;
};

QTextEdit *readOnlyText(const QString &name, QWidget *parent)
{
    auto *t = new QTextEdit(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    t->setAcceptRichText(false);
    return t;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(u"color:#000080"_s);
    return l;
}

QLabel *valueLabel(const QString &name, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

PracticeQuestionView::PracticeQuestionView(QWidget *parent)
    : QGroupBox(u"  题 面  "_s, parent)
{
    setObjectName(u"questionArea"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(4);

    auto *head = new QHBoxLayout;
    m_overall = valueLabel(u"overallNumber"_s, this);
    head->addWidget(m_overall);
    head->addSpacing(20);
    head->addWidget(caption(u"【题目类型】"_s, this));
    m_typeName = valueLabel(u"typeName"_s, this);
    head->addWidget(m_typeName);
    head->addStretch();
    layout->addLayout(head);

    layout->addWidget(caption(u"【问　题】"_s, this));
    m_stem = readOnlyText(u"stem"_s, this);
    m_stem->setAccessibleName(u"问题"_s);
    layout->addWidget(m_stem);

    m_subRow = new QWidget(this);
    auto *sub = new QVBoxLayout(m_subRow);
    sub->setContentsMargins(0, 0, 0, 0);
    auto *subCaption = caption(u"【小问题】"_s, m_subRow);
    subCaption->setObjectName(u"subCaption"_s);
    sub->addWidget(subCaption);
    m_subStem = readOnlyText(u"subStem"_s, m_subRow);
    m_subStem->setAccessibleName(u"小问题"_s);
    m_subStem->setFixedHeight(60);
    sub->addWidget(m_subStem);
    layout->addWidget(m_subRow);

    layout->addWidget(caption(u"【请选择答案】"_s, this));
    m_inputs = new QStackedWidget(this);
    auto *scroll = new QScrollArea(m_inputs);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_optionArea = new QWidget;
    m_optionArea->setObjectName(u"optionArea"_s);
    skin::setBackground(m_optionArea, skin::picture(u"skin/bg15.bmp"_s));
    auto *options = new QGridLayout(m_optionArea);
    options->setVerticalSpacing(10);
    options->setColumnStretch(1, 1);
    for (int k = 0; k < 6; ++k) {
        const QChar letter(u'A' + k);
        m_boxes[k] = new QCheckBox(QString(letter) + u'、', m_optionArea);
        m_boxes[k]->setObjectName(u"option"_s + letter);
        m_texts[k] = new OptionText(m_boxes[k], m_optionArea);
        m_texts[k]->setObjectName(u"optionText"_s + letter);
        options->addWidget(m_boxes[k], k, 0, Qt::AlignTop);
        options->addWidget(m_texts[k], k, 1);
        connect(m_boxes[k], &QCheckBox::clicked, this, [this, k](bool checked) { optionClicked(k, checked); });
    }
    options->setRowStretch(6, 1);
    scroll->setWidget(m_optionArea);
    m_inputs->addWidget(scroll);
    m_editor = new EntryEditor(practice::EditorVariant::Practice, m_inputs);
    m_editor->setObjectName(u"entryEditor"_s);
    m_inputs->addWidget(m_editor);
    m_notice = new QLabel(u"本功能请使用用友软件操作"_s, m_inputs);
    m_notice->setObjectName(u"practicalNotice"_s);
    m_notice->setAlignment(Qt::AlignCenter);
    QFont big = m_notice->font();
    big.setPointSize(18);
    big.setBold(true);
    m_notice->setFont(big);
    m_notice->setStyleSheet(u"color:#C00000"_s);
    m_inputs->addWidget(m_notice);
    layout->addWidget(m_inputs, 1);

    m_answerPanel = new QWidget(this);
    m_answerPanel->setObjectName(u"answerPanel"_s);
    auto *answers = new QGridLayout(m_answerPanel);
    answers->setContentsMargins(0, 2, 0, 0);
    answers->setColumnStretch(1, 1);
    answers->addWidget(caption(u"【正确答案】"_s, m_answerPanel), 0, 0, Qt::AlignTop);
    m_correct = valueLabel(u"correctAnswer"_s, m_answerPanel);
    m_correct->setStyleSheet(u"color:#C00000"_s);
    answers->addWidget(m_correct, 0, 1);
    answers->addWidget(caption(u"【答案解析】"_s, m_answerPanel), 1, 0, Qt::AlignTop);
    m_explanation = readOnlyText(u"explanation"_s, m_answerPanel);
    m_explanation->setAccessibleName(u"答案解析"_s);
    answers->addWidget(m_explanation, 1, 1);
    answers->addWidget(caption(u"【您的答案】"_s, m_answerPanel), 2, 0);
    m_yours = valueLabel(u"yourAnswer"_s, m_answerPanel);
    answers->addWidget(m_yours, 2, 1);
    answers->addWidget(caption(u"【您以前做过的答案】"_s, m_answerPanel), 3, 0);
    m_first = valueLabel(u"firstAnswer"_s, m_answerPanel);
    answers->addWidget(m_first, 3, 1);
    // The cream strip over the learner's own answers.
    m_cover = new QWidget(m_answerPanel);
    m_cover->setObjectName(u"answerCover"_s);
    m_cover->setAutoFillBackground(true);
    QPalette cream = m_cover->palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xF8, 0xDC));
    m_cover->setPalette(cream);
    answers->addWidget(m_cover, 2, 0, 2, 2);
    m_cover->raise();
    m_check = new EntryCheckView(m_answerPanel);
    m_check->setFixedWidth(330);
    answers->addWidget(m_check, 0, 2, 4, 1);
    layout->addWidget(m_answerPanel);
    setAnswerPanelHeight(0);
    clear();
}

void PracticeQuestionView::setTextPointSize(int points)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_stem, m_subStem, m_explanation, m_correct, m_yours, m_first}) {
        QFont f = w->font();
        f.setPointSize(points);
        w->setFont(f);
    }
    for (QLabel *t : m_texts) {
        QFont f = t->font();
        f.setPointSize(points);
        t->setFont(f);
    }
}

void PracticeQuestionView::showRow(const practice::PracticeRow &row, int overallNumber, bool keepChoices)
{
    m_type = row.typeCode();
    m_overall->setText(u"第"_s + QString::number(overallNumber) + u"题"_s);
    m_typeName->setText(practice::typeName(row.type));
    m_stem->setPlainText(row.stem);
    const bool isCase = m_type == 5;
    m_subRow->setVisible(isCase);
    m_subStem->setPlainText(isCase ? row.subStem : QString());
    m_stem->setFixedHeight(isCase ? 65 : 127);

    switch (m_type) {
    case 4: {
        std::array<bool, practice::kSubItems> used{};
        for (int k = 0; k < practice::kSubItems; ++k)
            used[k] = row.options[k] != u"-";
        m_editor->setSubItemsShown(used);
        m_inputs->setCurrentWidget(m_editor);
        break;
    }
    case 6:
        m_inputs->setCurrentWidget(m_notice);
        break;
    default:
        m_inputs->setCurrentIndex(0);
        break;
    }
    if (m_type != 4 && m_type != 6) {
        for (int k = 0; k < 6; ++k) {
            // A and B are always offered; C..F only when their text is not "-".
            const bool offered = k < 2 || row.options[k] != u"-";
            m_texts[k]->setText(row.options[k]);
            m_boxes[k]->setAccessibleName(m_boxes[k]->text() + row.options[k]);
            m_boxes[k]->setVisible(offered);
            m_texts[k]->setVisible(offered);
            if (!keepChoices)
                m_boxes[k]->setChecked(row.chosen[k]);
        }
    }
    m_correct->setText(practice::displayAnswer(row.type, row.correct));
    m_explanation->setPlainText(row.memo);
    m_entriesKey = m_type == 4 && !row.amountsMode ? std::optional(row.options) : std::nullopt;
}

void PracticeQuestionView::showRecord(const QString &type, const practice::AnswerRecordState &record)
{
    m_yours->setText(practice::displayAnswer(type, record.answer));
    m_first->setText(practice::displayAnswer(type, record.firstAnswer));
    // An entries-mode answer is explained line by line once it has been judged.
    if (m_entriesKey && record.done)
        m_check->showAnswer(record.answer, *m_entriesKey);
    else
        m_check->clearChecks();
}

void PracticeQuestionView::clear()
{
    m_type = 0;
    m_overall->clear();
    m_typeName->clear();
    m_stem->clear();
    m_subRow->hide();
    for (int k = 0; k < 6; ++k) {
        m_boxes[k]->setChecked(false);
        m_texts[k]->clear();
    }
    m_correct->clear();
    m_explanation->clear();
    m_yours->clear();
    m_first->clear();
    m_entriesKey.reset();
    m_check->clearChecks();
}

practice::Choices PracticeQuestionView::choices() const
{
    practice::Choices c{};
    for (int k = 0; k < 6; ++k)
        c[k] = m_boxes[k]->isChecked();
    return c;
}

void PracticeQuestionView::clickOption(int k)
{
    const bool options = m_type != 0 && m_type != 4 && m_type != 6;
    if (options && k >= 0 && k < 6 && !m_boxes[k]->isHidden() && m_boxes[k]->isEnabled())
        m_boxes[k]->click();
}

void PracticeQuestionView::optionClicked(int index, bool checked)
{
    if (!checked)
        return;
    const practice::Choices after = practice::afterChecking(m_type, choices(), index);
    for (int k = 0; k < 6; ++k)
        m_boxes[k]->setChecked(after[k]);
}

void PracticeQuestionView::setAnswerPanelHeight(int height)
{
    m_answerHeight = height;
    m_answerPanel->setFixedHeight(height);
    m_answerPanel->setVisible(height > 0);
}

void PracticeQuestionView::setAnswerCoverShown(bool shown)
{
    // It lies over the last two rows, "【您的答案】" and "【您以前做过的答案】".
    m_cover->setVisible(shown);
}

#include "exam/ui/examquestionview.h"

#include "exam/examsession.h"
#include "practice/judging.h"
#include "practice/ui/entrycheckview.h"
#include "practice/ui/entryeditor.h"
#include "shell/ui/skin.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kQuestionPanelHeight = 184;
constexpr int kQuestionTextHeight = 152;
constexpr int kPracticalBarHeight = 41;
constexpr int kAnswerPanelHeight = 169;
constexpr int kTextLeft = 50;

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setStyleSheet(u"color:#800000;font-weight:bold;"_s);
    return l;
}

QTextEdit *readOnlyText(const QString &name, QWidget *parent)
{
    auto *t = new QTextEdit(parent);
    t->setObjectName(name);
    t->setReadOnly(true);
    t->setFrameShape(QFrame::NoFrame);
    return t;
}

} // namespace

ExamQuestionView::ExamQuestionView(QWidget *parent)
    : QWidget(parent)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    m_questionPanel = new QWidget(this);
    m_questionPanel->setObjectName(u"questionPanel"_s);
    auto *questionLayout = new QVBoxLayout(m_questionPanel);
    questionLayout->setContentsMargins(0, 0, 0, 0);
    m_questionText = readOnlyText(u"questionText"_s, m_questionPanel);
    m_questionText->setAccessibleName(u"问题"_s);
    questionLayout->addWidget(m_questionText);
    column->addWidget(m_questionPanel);

    m_subBox = new QWidget(this);
    m_subBox->setObjectName(u"subQuestionBox"_s);
    auto *subLayout = new QVBoxLayout(m_subBox);
    subLayout->setContentsMargins(6, 2, 6, 2);
    m_subText = new QLabel(m_subBox);
    m_subText->setObjectName(u"subQuestionText"_s);
    m_subText->setWordWrap(true);
    m_subText->setStyleSheet(u"color:#000080;"_s);
    subLayout->addWidget(m_subText);
    column->addWidget(m_subBox);

    m_optionScroll = new QScrollArea(this);
    m_optionScroll->setFrameShape(QFrame::NoFrame);
    m_optionScroll->setWidgetResizable(true);
    m_options = new QWidget;
    m_options->setObjectName(u"optionsArea"_s);
    buildOptions(m_options);
    m_optionScroll->setWidget(m_options);
    m_optionScroll->viewport()->installEventFilter(this); // option widths follow the viewport
    column->addWidget(m_optionScroll, 1);

    m_editor = new EntryEditor(practice::EditorVariant::Exam, this);
    m_editor->setObjectName(u"entryEditor"_s);
    practice::EditorContent start;
    start.amounts[0] = u"0"_s;
    m_editor->setContent(start);
    column->addWidget(m_editor, 1);

    m_practicalBar = new QWidget(this);
    m_practicalBar->setObjectName(u"practicalBar"_s);
    auto *barLayout = new QHBoxLayout(m_practicalBar);
    barLayout->setContentsMargins(6, 0, 6, 0);
    m_practicalNotice = new QLabel(u"本功能请使用用友软件操作"_s, m_practicalBar);
    m_practicalNotice->setObjectName(u"practicalNotice"_s);
    m_practicalNotice->setStyleSheet(u"color:#FF0000;"_s);
    barLayout->addWidget(m_practicalNotice);
    barLayout->addStretch();
    auto *info = new QToolButton(m_practicalBar);
    info->setObjectName(u"practicalInfo"_s);
    info->setAutoRaise(true);
    const QPixmap glyph = skin::picture(u"skin/st01.bmp"_s);
    if (glyph.isNull())
        info->setText(u"实务操作信息"_s);
    else
        info->setIcon(glyph);
    connect(info, &QToolButton::clicked, this, &ExamQuestionView::practicalInfoRequested);
    barLayout->addWidget(info);
    m_practicalBar->setFixedHeight(0);
    m_practicalNotice->hide();
    column->addWidget(m_practicalBar);

    m_answerPanel = new QWidget(this);
    m_answerPanel->setObjectName(u"answerPanel"_s);
    auto *answerLayout = new QVBoxLayout(m_answerPanel);
    answerLayout->setContentsMargins(4, 2, 4, 2);
    answerLayout->setSpacing(2);
    answerLayout->addWidget(caption(u"【答案解析】"_s, m_answerPanel));
    m_analysis = readOnlyText(u"analysisText"_s, m_answerPanel);
    m_analysis->setAccessibleName(u"答案解析"_s);
    auto *analysisRow = new QHBoxLayout;
    analysisRow->setSpacing(4);
    analysisRow->addWidget(m_analysis, 1);
    m_check = new EntryCheckView(m_answerPanel);
    m_check->setFixedWidth(360);
    analysisRow->addWidget(m_check);
    answerLayout->addLayout(analysisRow, 1);
    m_answerRow = new QWidget(m_answerPanel);
    m_answerRow->setObjectName(u"subAnswerPanel"_s);
    auto *row = new QHBoxLayout(m_answerRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(caption(u"【正确答案】"_s, m_answerRow), 0, Qt::AlignTop);
    m_correct = new QLabel(m_answerRow);
    m_correct->setObjectName(u"correctAnswer"_s);
    m_correct->setWordWrap(true);
    row->addWidget(m_correct, 1, Qt::AlignTop);
    m_yoursBox = new QWidget(m_answerRow);
    auto *yoursRow = new QHBoxLayout(m_yoursBox);
    yoursRow->setContentsMargins(0, 0, 0, 0);
    yoursRow->addWidget(caption(u"【您的答案】"_s, m_yoursBox), 0, Qt::AlignTop);
    m_yours = new QLabel(m_yoursBox);
    m_yours->setObjectName(u"yourAnswer"_s);
    m_yours->setFixedWidth(400);
    m_yours->setWordWrap(true);
    yoursRow->addWidget(m_yours, 0, Qt::AlignTop);
    row->addWidget(m_yoursBox, 0, Qt::AlignTop);
    // The cream strip that hides the learner's own answers during an exam; reviews take it away.
    m_cover = new QWidget(m_yoursBox);
    m_cover->setObjectName(u"answerCover"_s);
    m_cover->setAttribute(Qt::WA_StyledBackground);
    m_cover->setStyleSheet(u"#answerCover{background:#FFF8DC;}"_s);
    m_yoursBox->installEventFilter(this);
    answerLayout->addWidget(m_answerRow);
    m_answerPanel->setFixedHeight(0);
    column->addWidget(m_answerPanel);

    m_subBox->hide();
    m_editor->hide();
}

void ExamQuestionView::buildOptions(QWidget *area)
{
    for (int k = 0; k < 6; ++k) {
        const QChar letter(u'A' + k);
        m_boxes[k] = new QCheckBox(QString(letter) + u"、"_s, area);
        m_boxes[k]->setObjectName(u"option%1"_s.arg(k + 1));
        m_texts[k] = new QLabel(area);
        m_texts[k]->setObjectName(u"optionText%1"_s.arg(k + 1));
        m_texts[k]->setWordWrap(true);
        m_texts[k]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_texts[k]->setCursor(Qt::PointingHandCursor);
        m_texts[k]->installEventFilter(this);
        connect(m_boxes[k], &QCheckBox::toggled, this, [this, k](bool checked) { onBoxToggled(k, checked); });
    }
}

bool ExamQuestionView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == m_optionScroll->viewport())
        layoutOptions();
    if (event->type() == QEvent::Resize && watched == m_yoursBox) {
        m_cover->setGeometry(m_yoursBox->rect());
        m_cover->raise();
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int k = 0; k < 6; ++k) {
            if (watched == m_texts[k]) {
                m_boxes[k]->toggle(); // a click on the text acts as a click on its box
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ExamQuestionView::onBoxToggled(int index, bool checked)
{
    if (!checked || m_settingBoxes)
        return;
    setBoxes(practice::afterChecking(m_type, boxes(), index));
}

void ExamQuestionView::clickOption(int k)
{
    if (k >= 0 && k < 6 && !m_optionScroll->isHidden() && !m_boxes[k]->isHidden() && m_boxes[k]->isEnabled())
        m_boxes[k]->click();
}

exam::Boxes ExamQuestionView::boxes() const
{
    exam::Boxes b{};
    for (int k = 0; k < 6; ++k)
        b[k] = m_boxes[k]->isChecked();
    return b;
}

void ExamQuestionView::setBoxes(const exam::Boxes &boxes)
{
    m_settingBoxes = true;
    for (int k = 0; k < 6; ++k)
        m_boxes[k]->setChecked(boxes[k]);
    m_settingBoxes = false;
}

void ExamQuestionView::showQuestion(const exam::Question &question)
{
    m_type = question.type;
    m_questionText->setPlainText(question.subject);
    m_subBox->setVisible(m_type == 5);
    m_subText->clear();
    const bool practical = m_type == 6;
    m_practicalNotice->setVisible(practical);
    m_practicalBar->setFixedHeight(practical ? kPracticalBarHeight : 0);
    if (practical) {
        m_questionPanel->setMinimumHeight(0);
        m_questionPanel->setMaximumHeight(QWIDGETSIZE_MAX);
        m_questionText->setMinimumHeight(0);
        m_questionText->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        m_questionPanel->setFixedHeight(kQuestionPanelHeight);
        m_questionText->setFixedHeight(kQuestionTextHeight);
    }
    qobject_cast<QVBoxLayout *>(layout())->setStretchFactor(m_questionPanel, practical ? 1 : 0);
    m_optionScroll->setVisible(m_type != 4 && !practical);
    m_editor->setVisible(m_type == 4);
    if (m_type == 4) {
        std::array<bool, practice::kSubItems> shown{};
        for (int k = 0; k < 6; ++k)
            shown[k] = question.options[k] != u"-";
        m_editor->setSubItemsShown(shown);
    }
    for (int k = 0; k < 6; ++k)
        m_optionTexts[k] = m_type >= 1 && m_type <= 3 && (m_type != 3 || k < 2) ? question.options[k] : QString();
    layoutOptions();
}

void ExamQuestionView::showSubQuestion(const std::optional<exam::SubQuestion> &sub)
{
    if (m_type != 5) {
        m_subBox->hide();
        return;
    }
    m_subBox->show();
    m_subText->setText(sub ? sub->subject : QString());
    for (int k = 0; k < 6; ++k)
        m_optionTexts[k] = sub ? sub->options[k] : QString();
    layoutOptions();
}

// Each option text is as high as its lines at 22 pixels (21 for a sub-question), each row 10 pixels
// below the previous one, the box level with its text; true/false options share one line.
void ExamQuestionView::layoutOptions()
{
    const int lineHeight = m_type == 5 ? 21 : 22;
    const int width = qMax(60, m_optionScroll->viewport()->width() - kTextLeft - 20);
    int top = 10;
    for (int k = 0; k < 6; ++k) {
        const bool shown = exam::offered(m_optionTexts[k]);
        m_boxes[k]->setVisible(shown);
        m_texts[k]->setVisible(shown);
        if (!shown)
            continue;
        m_texts[k]->setText(m_optionTexts[k]);
        m_boxes[k]->setAccessibleName(m_boxes[k]->text() + m_optionTexts[k]);
        const QFontMetrics fm(m_texts[k]->font());
        if (m_type == 3) {
            const int boxWidth = m_boxes[k]->sizeHint().width();
            const int boxLeft = k == 0 ? 5 : kTextLeft + 40 + 50;
            m_boxes[k]->setGeometry(boxLeft, top, boxWidth, qMax(lineHeight, fm.lineSpacing()));
            m_texts[k]->setGeometry(k == 0 ? kTextLeft : boxLeft + boxWidth + 10, top, 40,
                                    qMax(lineHeight, fm.lineSpacing()));
            continue;
        }
        const int wrapped = fm.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, m_optionTexts[k]).height();
        const int lines = qMax(1, (wrapped + fm.lineSpacing() - 1) / fm.lineSpacing());
        const int height = lines * qMax(lineHeight, fm.lineSpacing());
        m_boxes[k]->setGeometry(5, top, kTextLeft - 5, qMax(lineHeight, m_boxes[k]->sizeHint().height()));
        m_texts[k]->setGeometry(kTextLeft, top + 2, width, height);
        top += height + 10;
    }
    if (m_type == 3)
        top += 32;
    m_options->setMinimumHeight(top);
}

void ExamQuestionView::setCalcCaptions(int number, int red)
{
    m_editor->setNumber(QString::number(number));
    for (int k = 1; k <= 6; ++k) {
        if (auto *label = m_editor->findChild<QLabel *>(u"subItemNumber%1"_s.arg(k)))
            label->setStyleSheet(k == red ? u"color:#FF0000;"_s : u"color:#008080;"_s);
    }
}

void ExamQuestionView::setAnswerTexts(const AnswerPanelTexts &texts)
{
    m_analysis->setPlainText(texts.analysis);
    m_correct->setText(texts.correct);
    m_yours->setText(texts.yours);
    m_correct->setMinimumWidth(texts.subRow && m_type == 4 ? 254 : 0);
    m_checks = texts.entryChecks;
    showEntryChecks();
}

void ExamQuestionView::showEntryChecks()
{
    // Like the learner's own answer, the explanation stays hidden under the cover.
    if (m_coverShown || m_checks.isEmpty())
        m_check->clearChecks();
    else
        m_check->showChecks(m_checks);
}

void ExamQuestionView::setAnswerShown(bool shown)
{
    m_answerShown = shown;
    m_answerPanel->setFixedHeight(shown ? kAnswerPanelHeight : 0);
}

void ExamQuestionView::setAnswerCoverShown(bool shown)
{
    m_cover->setGeometry(m_yoursBox->rect());
    m_cover->raise();
    m_cover->setVisible(shown);
    m_coverShown = shown;
    showEntryChecks();
}

void ExamQuestionView::setFontSize(int points)
{
    QFont f = font();
    f.setPointSize(points);
    for (QWidget *w : std::initializer_list<QWidget *>{m_questionText, m_analysis, m_subText, m_correct, m_yours})
        w->setFont(f);
    for (QLabel *t : m_texts)
        t->setFont(f);
    layoutOptions();
}

void ExamQuestionView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutOptions();
}

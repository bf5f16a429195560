#include "exam/ui/examwindow.h"

#include "db/sql.h"
#include "exam/ui/answercardview.h"
#include "exam/ui/examquestionview.h"
#include "practice/ui/entryeditor.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCardWidth = 195;

} // namespace

ExamWindow::ExamWindow(const QSqlDatabase &db, const ExamInputs &inputs, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(u"ex_page"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(inputs.sessionKind);
    m_session = new ExamSession(db, inputs, this);
    m_fontSize = m_session->inputs().fontSize;

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 4);
    column->setSpacing(4);
    column->addWidget(buildTopBar());

    auto *body = new QHBoxLayout;
    body->setSpacing(2);
    auto *left = new QVBoxLayout;
    m_view = new ExamQuestionView(this);
    left->addWidget(m_view, 1);
    left->addWidget(buildButtons());
    auto *hint = new QLabel(u"建议您全部做完后点击\"交卷\"后再查看相应得分，答案，解析等信息"_s, this);
    hint->setStyleSheet(u"color:#808080;"_s);
    left->addWidget(hint);
    body->addLayout(left, 1);

    m_collapse = new QToolButton(this);
    m_collapse->setObjectName(u"collapseBar"_s);
    m_collapse->setText(u">"_s);
    m_collapse->setFixedWidth(12);
    m_collapse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(m_collapse, &QToolButton::clicked, this, &ExamWindow::toggleCard);
    body->addWidget(m_collapse);

    m_side = new QWidget(this);
    m_side->setFixedWidth(kCardWidth);
    auto *side = new QVBoxLayout(m_side);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(buildInfoBox());
    m_card = new AnswerCardView(m_side);
    side->addWidget(m_card, 1);
    side->addStretch(); // keeps the information box at the top while the card is collapsed
    body->addWidget(m_side);
    column->addLayout(body, 1);

    m_elapsed = new QTimer(this);
    m_elapsed->setInterval(1000);
    connect(m_elapsed, &QTimer::timeout, this, &ExamWindow::elapsedTick);
    m_countdown = new QTimer(this);
    m_countdown->setInterval(1000);
    connect(m_countdown, &QTimer::timeout, this, &ExamWindow::countdownTick);

    connect(m_session, &ExamSession::questionChanged, this, &ExamWindow::onQuestionChanged);
    connect(m_session, &ExamSession::cardChanged, this, &ExamWindow::onCardChanged);
    connect(m_session, &ExamSession::inputsRestored, this, &ExamWindow::onInputsRestored);
    connect(m_session, &ExamSession::subQuestionChanged, this, &ExamWindow::onSubQuestionChanged);
    connect(m_card, &AnswerCardView::nodeClicked, this, &ExamWindow::chooseNode);
    connect(m_view, &ExamQuestionView::practicalInfoRequested, this,
            [this] { messages::inform(this, u"注意：模拟考试此功能请在用友软件操作"_s, u"实务操作信息"_s); });
    m_view->setFontSize(m_fontSize);
    applyReviewInputs();
}

ExamWindow::~ExamWindow() = default;

void ExamWindow::applyReviewInputs()
{
    const ExamInputs &in = m_session->inputs();
    if (!in.modePicture.isEmpty()) {
        m_modeImage->setPixmap(skin::picture(in.modePicture));
        m_modeImage->setProperty("picture", in.modePicture);
        m_modePanel->show();
    }
    m_view->setAnswerCoverShown(in.answerCover);
    if (in.answerPanelShown) {
        m_view->setAnswerShown(true);
        m_answer->setText(u"隐藏答案"_s);
    }
    if (in.startMarked) {
        m_markState->setText(u"已标记"_s);
        m_markState->setStyleSheet(u"color:#FF0000;"_s);
    }
}

QWidget *ExamWindow::buildTopBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(u"topBar"_s);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    auto *candidate = new QLabel(u"准考证号:0000000000000000000000000          身份证号:000000000000000000000000"
                                 "               姓名: 测试         "_s,
                                 bar);
    candidate->setObjectName(u"candidateLine"_s);
    row->addWidget(candidate);
    row->addStretch();
    m_countdownText = new QLabel(u"不计时状态"_s, bar);
    m_countdownText->setObjectName(u"countdownText"_s);
    m_countdownText->setStyleSheet(u"color:#FF0000;font-weight:bold;"_s);
    row->addWidget(m_countdownText);
    // The review modes show which part of the session is on screen.
    m_modePanel = new QWidget(bar);
    m_modePanel->setObjectName(u"Panel40"_s);
    auto *mode = new QHBoxLayout(m_modePanel);
    mode->setContentsMargins(0, 0, 0, 0);
    m_modeImage = new QLabel(m_modePanel);
    m_modeImage->setObjectName(u"Image3"_s);
    mode->addWidget(m_modeImage);
    m_modePanel->hide();
    row->addWidget(m_modePanel);
    return bar;
}

QWidget *ExamWindow::buildInfoBox()
{
    const ExamInputs &in = m_session->inputs();
    auto *box = new QGroupBox(u" 考试信息 "_s, m_side);
    box->setObjectName(u"infoBox"_s);
    auto *form = new QFormLayout(box);
    form->setContentsMargins(6, 6, 6, 6);
    const auto value = [box](const QString &name, const QString &text) {
        auto *l = new QLabel(text, box);
        l->setObjectName(name);
        l->setWordWrap(true);
        return l;
    };
    form->addRow(u"考试科目:"_s, value(u"courseName"_s, in.courseName));
    form->addRow(u"试卷名称:"_s, value(u"paperName"_s, in.paperName));
    form->addRow(u"开考时间:"_s, value(u"Label8"_s, in.startText));
    form->addRow(u"剩余时间:"_s, value(u"Label9"_s, in.durationText));
    m_elapsedText = value(u"elapsedTime"_s, u"0秒"_s);
    form->addRow(u"已用时间:"_s, m_elapsedText);
    m_markState = value(u"markState"_s, u"未标记"_s);
    form->addRow(u"是否标记:"_s, m_markState);
    return box;
}

QToolButton *ExamWindow::pictureButton(const QString &name, const QString &picture, const QString &fallback)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setText(fallback);
    setPicture(b, picture);
    return b;
}

// A missing picture leaves the button's text.
void ExamWindow::setPicture(QToolButton *button, const QString &picture)
{
    const QPixmap pixmap = skin::picture(picture);
    button->setProperty("picture", picture);
    button->setIcon(pixmap);
    button->setIconSize(pixmap.isNull() ? QSize() : pixmap.size());
    button->setToolButtonStyle(pixmap.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
}

QWidget *ExamWindow::buildButtons()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_first = pictureButton(u"firstButton"_s, u"skin/off_first.bmp"_s, u"|<"_s);
    m_previous = pictureButton(u"previousButton"_s, u"skin/off_pir.bmp"_s, u"<"_s);
    m_next = pictureButton(u"nextButton"_s, u"skin/next.bmp"_s, u">"_s);
    m_last = pictureButton(u"lastButton"_s, u"skin/last.bmp"_s, u">|"_s);
    connect(m_first, &QToolButton::clicked, this, [this] { navigate(Step::First); });
    connect(m_previous, &QToolButton::clicked, this, [this] { navigate(Step::Previous); });
    connect(m_next, &QToolButton::clicked, this, [this] { navigate(Step::Next); });
    connect(m_last, &QToolButton::clicked, this, [this] { navigate(Step::Last); });
    for (QToolButton *b : {m_first, m_previous, m_next, m_last})
        row->addWidget(b);
    m_counter = new QLabel(m_session->inputs().counterText, bar);
    m_counter->setObjectName(u"Label3"_s);
    row->addWidget(m_counter);
    row->addStretch();

    QToolButton *larger = pictureButton(u"largerButton"_s, u"skin/zoonout.bmp"_s, u"A+"_s);
    QToolButton *smaller = pictureButton(u"smallerButton"_s, u"skin/zoonin.bmp"_s, u"A-"_s);
    connect(larger, &QToolButton::clicked, this, [this] { changeFontSize(1); });
    connect(smaller, &QToolButton::clicked, this, [this] { changeFontSize(-1); });
    row->addWidget(larger);
    row->addWidget(smaller);

    const auto button = [bar, row](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, bar);
        b->setObjectName(name);
        row->addWidget(b);
        return b;
    };
    m_mark = button(u"markButton"_s, u"待查"_s);
    connect(m_mark, &QPushButton::clicked, this, [this] {
        m_markState->setText(u"已标记"_s);
        guarded([this] { m_session->toggleMark(); });
    });
    m_answer = button(u"answerButton"_s, u"显示答案"_s);
    connect(m_answer, &QPushButton::clicked, this, &ExamWindow::toggleAnswer);
    connect(button(u"calculatorButton"_s, u"计算器"_s), &QPushButton::clicked, this, &ExamWindow::openCalculator);
    connect(button(u"handInButton"_s, u"交卷"_s), &QPushButton::clicked, this, &ExamWindow::handIn);
    connect(button(u"cancelButton"_s, u"取消"_s), &QPushButton::clicked, this, &QWidget::close);
    return bar;
}

template <typename F> bool ExamWindow::guarded(F &&operation)
{
    try {
        operation();
        return true;
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return false;
    }
}

bool ExamWindow::open()
{
    if (!guarded([this] { m_session->start(); }))
        return false;
    if (!m_session->inputs().counterText.isEmpty())
        m_counter->setText(m_session->inputs().counterText);
    return true;
}

AnswerInput ExamWindow::currentInput() const
{
    AnswerInput input;
    input.boxes = m_view->boxes();
    if (m_session->type() == 4) {
        m_view->editor()->trimAll();
        input.editor = m_view->editor()->content();
    }
    return input;
}

void ExamWindow::navigate(Step step)
{
    const AnswerInput input = currentInput();
    guarded([this, step, &input] {
        switch (step) {
        case Step::First:
            m_session->first(input);
            break;
        case Step::Previous:
            m_session->previous(input);
            break;
        case Step::Next:
            m_session->next(input);
            break;
        case Step::Last:
            m_session->last(input);
            break;
        }
    });
}

void ExamWindow::chooseNode(int index)
{
    guarded([&] { m_session->choose(index, currentInput()); });
}

// A new current row: the session shows it only once everything of it could be read.
void ExamWindow::onQuestionChanged()
{
    m_counter->setText(m_session->counterText());
    const QStringList pictures = m_session->navigationPictures();
    setPicture(m_first, pictures.at(0));
    setPicture(m_previous, pictures.at(1));
    setPicture(m_next, pictures.at(2));
    setPicture(m_last, pictures.at(3));
    if (const auto &q = m_session->question())
        m_view->showQuestion(*q);
}

void ExamWindow::onCardChanged()
{
    m_card->showCard(m_session->card(), m_session->selected());
    m_mark->setText(m_session->markCaption());
    m_view->setAnswerTexts(m_session->answerPanel());
    if (m_session->type() == 4)
        m_view->setCalcCaptions(m_session->calcNumber(), m_session->redSubItem());
}

void ExamWindow::onInputsRestored()
{
    const ExamSession::Restore restore = m_session->restoreView();
    if (restore.calc)
        m_view->editor()->setContent(restore.editor);
    else
        m_view->setBoxes(restore.boxes);
}

void ExamWindow::onSubQuestionChanged()
{
    m_view->showSubQuestion(m_session->subQuestion());
    m_view->setBoxes(m_session->subQuestionBoxes());
    m_view->setAnswerTexts(m_session->answerPanel());
}

void ExamWindow::toggleAnswer()
{
    const bool show = m_answer->text() == u"显示答案";
    m_view->setAnswerShown(show);
    m_answer->setText(show ? u"隐藏答案"_s : u"显示答案"_s);
}

// Only the card collapses; the information box stays.
void ExamWindow::toggleCard()
{
    const bool visible = !m_card->isHidden();
    m_card->setVisible(!visible);
    m_collapse->setText(visible ? u"<"_s : u">"_s);
    m_view->setFontSize(m_fontSize);
}

// Shrinking from 1 gives 0, which reads as 12.
void ExamWindow::changeFontSize(int delta)
{
    m_fontSize += delta;
    if (m_fontSize <= 0)
        m_fontSize = 12;
    m_view->setFontSize(m_fontSize);
}

void ExamWindow::openCalculator()
{
    for (const QString &program : {u"gnome-calculator"_s, u"galculator"_s, u"kcalc"_s, u"xcalc"_s}) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && QProcess::startDetached(path, {}))
            return;
    }
}

bool ExamWindow::countdownRunning() const
{
    return m_countdown->isActive();
}

bool ExamWindow::elapsedRunning() const
{
    return m_elapsed->isActive();
}

void ExamWindow::startCountdown()
{
    m_countdown->start();
}

void ExamWindow::elapsedTick()
{
    m_session->clock().tickElapsed();
    m_elapsedText->setText(m_session->clock().elapsedText());
}

void ExamWindow::countdownTick()
{
    const bool expired = m_session->clock().tickCountdown();
    m_countdownText->setText(m_session->clock().countdownText());
    if (!expired)
        return;
    stopClocks();
    messages::inform(this, u"交卷时间到，程序强制交卷！"_s, u"提示信息"_s);
    exam::Totals totals;
    if (guarded([&] {
            m_session->check(currentInput());
            totals = m_session->totals();
        }))
        finishWith(totals);
}

void ExamWindow::handIn()
{
    if (!guarded([&] { m_session->check(currentInput()); }))
        return;
    stopClocks();
    exam::Totals totals;
    if (!guarded([&] { totals = m_session->totals(); }))
        return;
    if (!messages::askYesNo(this, exam::confirmationText(totals), u"提交考试"_s))
        return;
    if (!messages::askYesNo(this, u"您确定交试卷吗?\r\n如果确认交卷您将无法继续本场考试..."_s, u"再次确认提交"_s))
        return;
    finishWith(totals);
}

void ExamWindow::finishWith(const exam::Totals &totals)
{
    exam::ExamResult result;
    if (!guarded([&] { result = m_session->finish(totals); }))
        return;
    Q_EMIT handedIn(result);
    close();
}

void ExamWindow::stopClocks()
{
    m_elapsed->stop();
    m_countdown->stop();
}

void ExamWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_elapsedStarted)
        return;
    m_elapsedStarted = true;
    m_elapsedText->setText(u"0秒"_s);
    m_elapsed->start();
}

void ExamWindow::closeEvent(QCloseEvent *event)
{
    stopClocks();
    QWidget::closeEvent(event);
}

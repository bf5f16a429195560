#include "practice/ui/practicewindow.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/entryeditor.h"
#include "practice/ui/practicequestionview.h"
#include "practice/ui/practicesidepanel.h"
#include "practice/ui/questionpicker.h"
#include "practice/ui/skinbackground.h"
#include "session/chaptersession.h"
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSoundEffect>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QPointer<PracticeWindow> g_current;

const QString kShowAnswer = u"显示答案"_s;
const QString kHideAnswer = u"隐藏答案"_s;
const QString kShowAll = u"显示全部答案和解析"_s;
const QString kHideAll = u"隐藏全部答案和解析"_s;
const QString kQuestionCaption = u"信息提示"_s;
const QString kErrorCaption = u"错误信息"_s;
const QString kAnswerNotStored = u"当前题目的答案未能保存,本次练习成绩也未保存。"_s;
const QString kTotalsNotStored = u"本次练习成绩未能保存。"_s;

QPushButton *toolButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumSize(96, 32);
    return b;
}

} // namespace

PracticeWindow::PracticeWindow(bool beep, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_beep(beep)
    , m_session(db::bank())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(u"ch_page"_s);
    setWindowTitle(u"章节练习"_s);
    resize(1024, 740);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    auto *header = new QWidget(this);
    buildHeader(header);
    root->addWidget(header);

    auto *body = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    m_question = new PracticeQuestionView(this);
    left->addWidget(m_question, 1);
    left->addWidget(buildToolbar());
    body->addLayout(left, 1);
    body->addSpacing(24);
    m_side = new PracticeSidePanel(this);
    body->addWidget(m_side);
    root->addLayout(body, 1);

    m_picker = new QuestionPicker(this);
    connect(m_picker, &QuestionPicker::highlighted, this, &PracticeWindow::goTo);
    connect(m_side->showAll, &QPushButton::clicked, this, &PracticeWindow::showAllClick);
    connect(m_side->finish, &QPushButton::clicked, this, &PracticeWindow::finishClick);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(u"Timer1"_s);
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &PracticeWindow::Timer1Timer);
    m_timer2 = new QTimer(this);
    m_timer2->setObjectName(u"Timer2"_s);
    m_timer2->setInterval(1000);
    connect(m_timer2, &QTimer::timeout, this, &PracticeWindow::Timer2Timer);

    setInputs({});
}

PracticeWindow::~PracticeWindow() = default;

void PracticeWindow::buildHeader(QWidget *header)
{
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    m_image = new QLabel(header);
    m_image->setObjectName(u"Image1"_s);
    m_image->setFixedSize(160, 56);
    m_image->setScaledContents(true);
    layout->addWidget(m_image);
    auto *names = new QVBoxLayout;
    m_headerCourse = new QLabel(header);
    m_headerCourse->setObjectName(u"headerCourse"_s);
    QFont big = m_headerCourse->font();
    big.setPointSize(14);
    big.setBold(true);
    m_headerCourse->setFont(big);
    m_headerChapter = new QLabel(header);
    m_headerChapter->setObjectName(u"headerChapter"_s);
    names->addWidget(m_headerCourse);
    names->addWidget(m_headerChapter);
    layout->addLayout(names, 1);
    auto *hint = new QLabel(u"提示: 建议将全部题目做完后, 再点击“退出练习”查看成绩和答案解析。"_s, header);
    hint->setStyleSheet(u"color:#800000"_s);
    layout->addWidget(hint);
}

QWidget *PracticeWindow::buildToolbar()
{
    auto *bar = new QWidget(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_showAnswer = toolButton(kShowAnswer, u"showAnswerButton"_s, bar);
    m_mark = toolButton(u"标记本题"_s, u"markButton"_s, bar);
    m_essence = toolButton(u"设为精华题目"_s, u"essenceButton"_s, bar);
    auto *previous = toolButton(u"上一题"_s, u"previousButton"_s, bar);
    auto *next = toolButton(u"下一题"_s, u"nextButton"_s, bar);
    auto *pick = toolButton(u"选  题"_s, u"pickButton"_s, bar);
    for (QPushButton *b : {m_showAnswer, m_mark, m_essence, previous, next, pick})
        layout->addWidget(b);
    layout->addStretch();
    connect(m_showAnswer, &QPushButton::clicked, this, &PracticeWindow::showAnswerClick);
    connect(m_mark, &QPushButton::clicked, this, &PracticeWindow::markClick);
    connect(m_essence, &QPushButton::clicked, this, &PracticeWindow::essenceClick);
    connect(previous, &QPushButton::clicked, this, &PracticeWindow::previousClick);
    connect(next, &QPushButton::clicked, this, &PracticeWindow::nextClick);
    connect(pick, &QPushButton::clicked, this, &PracticeWindow::pickClick);
    return bar;
}

void PracticeWindow::setInputs(const practice::PracticeInputs &inputs)
{
    m_inputs = inputs;
    if (!inputs.sessionKind.isEmpty())
        setWindowTitle(inputs.sessionKind);
    m_countdown = practice::ForcedSwitch(inputs.countdownStart, inputs.questionSeconds);
    m_side->countdown->setText(m_countdown.text());
    m_side->total->setText(QString::number(inputs.questionTotal));
    m_side->startTime->setText(inputs.startTime);
    m_side->number->setText(inputs.firstNumber);
    m_side->fourthName->setText(inputs.fourthTypeName);
    m_question->setTextPointSize(inputs.fontSize == 0 ? 12 : inputs.fontSize);
    m_question->setAnswerPanelHeight(inputs.answerPanelHeight);
    m_question->setAnswerCoverShown(inputs.answerCover);
    m_showAnswer->setEnabled(inputs.showAnswerEnabled);
    m_image->setPixmap(inputs.headerPicture.isEmpty() ? QPixmap() : skin::picture(inputs.headerPicture));
}

PracticeWindow *PracticeWindow::current()
{
    return g_current;
}

void PracticeWindow::setCurrent(PracticeWindow *window)
{
    g_current = window;
}

bool PracticeWindow::closeCurrent()
{
    return !g_current || g_current->close();
}

void PracticeWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_opened)
        return;
    m_opened = true;
    fillTypeCounts();
    openQuestionSet();
    if (m_inputs.autoAdvance)
        m_timer1->start();
    if (m_inputs.elapsedClock)
        m_timer2->start();
}

void PracticeWindow::fillTypeCounts()
{
    std::array<int, 7> counts{};
    if (!guarded([&] { counts = m_session.typeCountsOfWorkingCopy(); }))
        return;
    auto text = [](int n) { return n == 0 ? u"没有该题型"_s : QString::number(n) + u" 题"_s; };
    m_side->single->setText(text(counts[1]));
    m_side->multiple->setText(text(counts[2]));
    m_side->judge->setText(text(counts[3]));
    m_side->fourth->clear();
    for (int t = 4; t <= 6; ++t) {
        if (m_inputs.fourthTypeName == session::fourthTypeName(t))
            m_side->fourth->setText(QString::number(counts[t]) + u" 题"_s);
    }
}

void PracticeWindow::openQuestionSet()
{
    if (!guarded([&] { m_session.open(m_inputs.questionSet, m_inputs.pageId); }))
        return;
    if (m_inputs.startPosition > 1 && m_inputs.startPosition <= m_session.count())
        m_session.setIndex(m_inputs.startPosition - 1);
    refresh();
    loadEditorIfCalculation();
}

bool PracticeWindow::guarded(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), kErrorCaption);
        return false;
    }
}

void PracticeWindow::refresh(bool keepInput)
{
    const practice::PracticeRow *row = m_session.current();
    if (!row) {
        m_question->clear();
        return;
    }
    guarded([&] { m_session.reloadRecord(); });
    m_question->showRow(*row, m_session.index() + 1, keepInput);
    m_question->showRecord(row->type, m_session.record());
    m_side->setMarks(row->marked, row->essence);
    m_mark->setText(row->marked ? u"已标记"_s : u"标记本题"_s);
    m_essence->setText(row->essence ? u"已精华标记"_s : u"设为精华题目"_s);
    m_side->typeName->setText(practice::sidePanelTypeName(row->type));
    m_side->number->setText(QString::number(m_session.numberWithinType()));
    m_side->course->setText(row->course);
    m_side->chapter->setText(row->chapter);
    m_headerCourse->setText(row->course);
    m_headerChapter->setText(row->chapter);
    // The picker shares the current row: moves by the countdown or the buttons show in it.
    if (m_picker->isVisible())
        m_picker->follow(m_session.rows(), m_session.index());
}

void PracticeWindow::loadEditorIfCalculation()
{
    const practice::PracticeRow *row = m_session.current();
    if (!row || row->typeCode() != 4)
        return;
    EntryEditor *editor = m_question->editor();
    editor->setNumber(QString::number(m_session.numberWithinType()));
    practice::EditorContent content;
    guarded([&] { content = m_session.editorContent(); });
    editor->setContent(content);
    m_question->showRecord(row->type, m_session.record());
}

bool PracticeWindow::recordAnswer()
{
    // On failure the learner's input stays on screen, unrecorded.
    return guarded([&] { storeInput(); });
}

void PracticeWindow::storeInput()
{
    const practice::PracticeRow *row = m_session.current();
    if (!row)
        return;
    practice::AnswerInput input;
    input.boxes = m_question->choices();
    if (row->typeCode() == 4) {
        m_question->editor()->trimAll();
        input.editor = m_question->editor()->content();
    }
    m_session.check(input);
    refresh();
}

void PracticeWindow::afterMove()
{
    if (m_showAnswer->text() == kHideAnswer)
        showAnswerClick();
    if (m_side->showAll->text() == kHideAll)
        m_question->setAnswerPanelHeight(PracticeQuestionView::kAnswerPanelHeight);
    m_countdown.restart();
    m_side->countdown->setText(m_countdown.text());
}

void PracticeWindow::move(bool forward)
{
    if (!recordAnswer())
        return;
    if (!forward) {
        m_session.previous();
        afterMove();
    } else if (!m_session.pastEnd()) {
        m_session.next();
        afterMove();
    }
    refresh();
    loadEditorIfCalculation();
}

void PracticeWindow::nextClick()
{
    move(true);
}

void PracticeWindow::previousClick()
{
    move(false);
}

void PracticeWindow::goTo(int index)
{
    m_session.setIndex(index);
    refresh();
    loadEditorIfCalculation();
}

void PracticeWindow::pickClick()
{
    if (!recordAnswer())
        return;
    m_picker->fill(m_session.rows(), m_session.index());
    m_picker->openOver(m_question);
}

void PracticeWindow::markClick()
{
    if (guarded([&] { m_session.toggleMark(); }))
        refresh(true);
}

void PracticeWindow::essenceClick()
{
    if (guarded([&] { m_session.toggleEssence(); }))
        refresh(true);
}

void PracticeWindow::showAnswerClick()
{
    const bool open = m_showAnswer->text() == kShowAnswer;
    m_question->setAnswerPanelHeight(open ? PracticeQuestionView::kAnswerPanelHeight : 0);
    m_showAnswer->setText(open ? kHideAnswer : kShowAnswer);
}

void PracticeWindow::showAllClick()
{
    const bool open = m_side->showAll->text() == kShowAll;
    m_showAnswer->setText(open ? kHideAnswer : kShowAnswer);
    m_question->setAnswerPanelHeight(open ? PracticeQuestionView::kAnswerPanelHeight : 0);
    m_side->showAll->setText(open ? kHideAll : kShowAll);
}

void PracticeWindow::Timer1Timer()
{
    // A message box shown by the move lets further ticks run; they wait for this one.
    if (m_inTick)
        return;
    m_inTick = true;
    const bool last = m_session.atLast() || m_session.count() == 0;
    const practice::ForcedSwitch::Tick tick = m_countdown.tick(last, [this] { nextClick(); });
    m_side->countdown->setText(m_countdown.text());
    m_inTick = false;
    if (tick.beep && m_beep)
        playBeep();
}

void PracticeWindow::Timer2Timer()
{
    m_elapsed.tick();
    m_side->elapsed->setText(m_elapsed.text());
}

void PracticeWindow::playBeep()
{
    const QString path = AppPaths::current().file(u"data/alert.wav"_s);
    if (!QFileInfo::exists(path))
        return; // silence
    if (m_soundPlayer) {
        m_soundPlayer(path);
        return;
    }
    if (!m_sound) {
        m_sound = new QSoundEffect(this);
        m_sound->setObjectName(u"alertSound"_s);
        m_sound->setSource(QUrl::fromLocalFile(path));
    }
    m_sound->play();
}

PracticeWindow::FinishOutcome PracticeWindow::finish()
{
    // Each write is whole or absent, so a failure leaves the last answer or the totals unwritten,
    // never half of them; the message says which.
    const auto failed = [this](const QString &what, const db::Error &e) {
        messages::inform(this, what + u'\n' + e.message(), kErrorCaption);
        return FinishOutcome::Failed;
    };
    try {
        storeInput();
    } catch (const db::Error &e) {
        return failed(kAnswerNotStored, e);
    }
    m_timer1->stop();
    m_timer2->stop();
    const practice::PracticeRow *row = m_session.current();
    const QString pageId = row ? row->pageId : m_inputs.pageId;
    practice::PracticeTotals totals;
    try {
        totals = practice::computeTotals(m_session.database(), pageId);
    } catch (const db::Error &e) {
        return failed(kTotalsNotStored, e);
    }
    if (!messages::askYesNo(this, u"确定进行结束练习吗?"_s, kQuestionCaption))
        return FinishOutcome::Declined;
    const QString elapsed = m_elapsed.text();
    try {
        practice::storeTotals(m_session.database(), pageId, totals, elapsed, m_inputs.sessionKind);
    } catch (const db::Error &e) {
        return failed(kTotalsNotStored, e);
    }
    practice::PracticeResult result;
    result.course = row ? row->course : QString();
    result.chapter = row ? row->chapter : QString();
    result.startTime = m_inputs.startTime;
    result.elapsed = elapsed;
    result.questionTotal = m_inputs.questionTotal;
    result.totals = totals;
    m_finished = true;
    Q_EMIT finished(result);
    close();
    return FinishOutcome::Finished;
}

void PracticeWindow::closeEvent(QCloseEvent *event)
{
    if (!m_finished) {
        if (!messages::askYesNo(this, u"确定退出,并进行提交汇总成绩吗?"_s, kQuestionCaption)) {
            event->ignore();
            return;
        }
        // After Yes the window closes whatever the finish did: declined, it stores no totals;
        // failed (the bank locked or read-only), its message said what was not stored.
        finish();
    }
    m_timer1->stop();
    m_timer2->stop();
    if (g_current == this)
        g_current = nullptr;
    if (QWidget *owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
    event->accept();
}

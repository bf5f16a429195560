#include "session/ui/mockexampanel.h"

#include "db/connection.h"
#include "db/sql.h"
#include "exam/ui/examwindow.h"
#include "records/ui/examresultpanel.h"
#include "session/chaptersession.h"
#include "session/papersession.h"
#include "session/ui/courselist.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "windows/ui/instructionswindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A group box drawn over a stretched skin picture; without the picture it is a plain box.
class SkinBox final : public QGroupBox
{
public:
    SkinBox(const QString &title, QWidget *parent)
        : QGroupBox(title, parent)
    {
    }
    void setPicture(const QPixmap &picture)
    {
        m_picture = picture;
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        if (!m_picture.isNull()) {
            QPainter p(this);
            p.drawPixmap(rect(), m_picture);
        }
        QGroupBox::paintEvent(event);
    }

private:
    QPixmap m_picture;
};

QLabel *valueLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

MockExamPanel::MockExamPanel(MainWindow *main, QWidget *panel9)
    : QWidget(panel9)
    , m_main(main)
{
    setObjectName(u"mockExamPanel"_s);
    auto *outer = new QVBoxLayout(panel9);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(12);
    row->addWidget(buildCourseSide());
    m_right = new QStackedWidget(this);
    m_right->addWidget(buildInfoBox());
    m_results = new ExamResultPanel(m_right);
    m_right->addWidget(m_results);
    row->addWidget(m_right, 1);
    connect(main, &MainWindow::mockExamRequested, this, &MockExamPanel::openPanel);
}

MockExamPanel::~MockExamPanel()
{
    // The windows are top-level (a disabled main window must not disable them); they end with it.
    delete m_instructions.data();
    delete m_exam.data();
}

ExamWindow *MockExamPanel::examWindow() const
{
    return m_exam;
}

InstructionsWindow *MockExamPanel::instructionsWindow() const
{
    return m_instructions;
}

QWidget *MockExamPanel::buildCourseSide()
{
    auto *side = new QWidget(this);
    side->setFixedWidth(290);
    auto *column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);

    m_courseBox = new SkinBox(u"课程选择"_s, side);
    auto *courseRow = new QHBoxLayout(m_courseBox);
    courseRow->addWidget(new QLabel(u"课程名称:"_s, m_courseBox));
    m_courses = new QComboBox(m_courseBox);
    m_courses->setObjectName(u"ComboBox2"_s);
    courseRow->addWidget(m_courses, 1);
    connect(m_courses, &QComboBox::activated, this, &MockExamPanel::chooseCourse);
    column->addWidget(m_courseBox);

    m_paperBox = new QGroupBox(u"试卷名称列表"_s, side);
    m_paperBox->setObjectName(u"gb22"_s);
    auto *paperColumn = new QVBoxLayout(m_paperBox);
    auto *scroll = new QScrollArea(m_paperBox);
    scroll->setObjectName(u"ScrollBox2"_s);
    scroll->setWidgetResizable(true);
    m_paperList = new QWidget;
    scroll->setWidget(m_paperList);
    paperColumn->addWidget(scroll, 1);
    m_random = new QToolButton(m_paperBox);
    m_random->setObjectName(u"SpeedButton33"_s);
    m_random->setText(u"随机考试"_s);
    m_random->setToolTip(u"指在所有试卷题中,随机提取题目进行模拟考试"_s);
    m_random->setMinimumSize(121, 33);
    connect(m_random, &QToolButton::clicked, this, &MockExamPanel::startRandom);
    paperColumn->addWidget(m_random, 0, Qt::AlignHCenter);
    column->addWidget(m_paperBox, 1);
    return side;
}

QWidget *MockExamPanel::buildInfoBox()
{
    auto *box = new SkinBox(u"模拟考试信息"_s, m_right);
    m_info = box;
    m_info->setObjectName(u"GroupBox20"_s);
    auto *grid = new QGridLayout(m_info);
    grid->setContentsMargins(30, 24, 30, 24);
    grid->setVerticalSpacing(14);
    int r = 0;
    m_kindLabel = valueLabel(u"Label99"_s, u"模拟考试:"_s, m_info);
    m_paperLabel = valueLabel(u"Label106"_s, QString(), m_info);
    m_paperLabel->setStyleSheet(u"color:#0000FF;"_s);
    grid->addWidget(m_kindLabel, r, 0);
    grid->addWidget(m_paperLabel, r++, 1, 1, 3);
    m_count = valueLabel(u"Label109"_s, u"0"_s, m_info);
    m_countUnit = valueLabel(u"Label111"_s, u"题"_s, m_info);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(m_count);
    countRow->addWidget(m_countUnit);
    countRow->addStretch();
    grid->addWidget(new QLabel(u"试卷题目数:"_s, m_info), r, 0);
    grid->addLayout(countRow, r++, 1, 1, 3);
    m_single = valueLabel(u"Label118"_s, u"20 题,每题1分"_s, m_info);
    m_multiple = valueLabel(u"Label119"_s, u"20 题,每题2分"_s, m_info);
    m_judge = valueLabel(u"Label120"_s, u"20 题,每题1分"_s, m_info);
    m_fourthName = valueLabel(u"Label74"_s, u"实务操作题:"_s, m_info);
    m_fourthLine = valueLabel(u"Label73"_s, u"15 题"_s, m_info);
    grid->addWidget(new QLabel(u"单选题:"_s, m_info), r, 0);
    grid->addWidget(m_single, r++, 1, 1, 3);
    grid->addWidget(new QLabel(u"多选题:"_s, m_info), r, 0);
    grid->addWidget(m_multiple, r++, 1, 1, 3);
    grid->addWidget(new QLabel(u"判断题:"_s, m_info), r, 0);
    grid->addWidget(m_judge, r++, 1, 1, 3);
    grid->addWidget(m_fourthName, r, 0);
    grid->addWidget(m_fourthLine, r++, 1, 1, 3);

    m_minutes = new QSpinBox(m_info);
    m_minutes->setObjectName(u"Edit11"_s);
    m_minutes->setRange(1, 9999); // whole minutes, at least one
    m_minutes->setButtonSymbols(QAbstractSpinBox::NoButtons);
    grid->addWidget(new QLabel(u"考试时间:"_s, m_info), r, 0);
    grid->addWidget(m_minutes, r, 1);
    grid->addWidget(valueLabel(u"Label147"_s, u"分钟"_s, m_info), r++, 2);

    m_timed = new QCheckBox(m_info);
    m_timed->setObjectName(u"CheckBox8"_s);
    m_timed->setChecked(true);
    auto *timedLabel = new QToolButton(m_info);
    timedLabel->setObjectName(u"Label173"_s);
    timedLabel->setText(u"考试中计时"_s);
    timedLabel->setAutoRaise(true);
    timedLabel->setToolTip(u"指在默认时间内如果没有完成，将强制交卷"_s);
    m_timed->setToolTip(timedLabel->toolTip());
    connect(timedLabel, &QToolButton::clicked, m_timed, &QCheckBox::toggle);
    auto *timedRow = new QHBoxLayout;
    timedRow->addWidget(m_timed);
    timedRow->addWidget(timedLabel);
    timedRow->addStretch();
    grid->addLayout(timedRow, r++, 1, 1, 3);

    m_fontSize = new QSpinBox(m_info);
    m_fontSize->setObjectName(u"Edit10"_s);
    m_fontSize->setRange(10, 16);
    m_fontSize->setValue(12);
    m_preview = valueLabel(u"Label108"_s, u"字体大小预览"_s, m_info);
    const auto preview = [this](int size) {
        QFont f = m_preview->font();
        f.setPointSize(size);
        m_preview->setFont(f);
    };
    preview(m_fontSize->value());
    connect(m_fontSize, &QSpinBox::valueChanged, this, preview);
    grid->addWidget(new QLabel(u"字体大小:"_s, m_info), r, 0);
    grid->addWidget(m_fontSize, r, 1);
    grid->addWidget(m_preview, r++, 2, 1, 2);

    m_start = new QToolButton(m_info);
    m_start->setObjectName(u"SpeedButton32"_s);
    m_start->setText(u"开始考试"_s);
    m_start->setMinimumSize(121, 33);
    m_start->setEnabled(false);
    connect(m_start, &QToolButton::clicked, this, &MockExamPanel::startFixed);
    grid->addWidget(m_start, r++, 1, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(r, 1);
    return m_info;
}

void MockExamPanel::openPanel()
{
    m_main->setPanelKind(u"考试"_s);
    m_countUnit->setText(u"题"_s);
    m_countUnit->setStyleSheet(u"color:#000000;"_s);
    bool minutesOk = false;
    const int minutes = m_main->config().eTimeTotal.toInt(&minutesOk);
    m_minutes->setValue(minutesOk && minutes > 0 ? minutes : 120);
    m_start->setEnabled(false);
    m_right->setCurrentWidget(m_info);
    m_count->setText(u"0"_s);
    static_cast<SkinBox *>(m_info)->setPicture(skin::picture(u"skin/bg11.bmp"_s));
    static_cast<SkinBox *>(m_courseBox)->setPicture(skin::picture(u"skin/bg16.bmp"_s));

    if (fillCourseList(this, m_main, m_courses, &m_courseIds))
        chooseCourse(0);
}

void MockExamPanel::clearPaperButtons()
{
    qDeleteAll(m_paperButtons);
    m_paperButtons.clear();
}

void MockExamPanel::chooseCourse(int index)
{
    if (index < 0 || index >= m_courseIds.size())
        return;
    QList<paper::Paper> papers;
    try {
        papers = paper::papers(db::bank(), m_courseIds.at(index));
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    clearPaperButtons();
    if (papers.isEmpty()) {
        m_start->setEnabled(false);
        m_paperLabel->clear();
        messages::inform(this, u"当前试卷记录为零...."_s, u"信息提醒"_s);
        return;
    }
    m_paperLabel->setText(u"请选择试卷名称..."_s);
    m_count->setText(u"0"_s);
    const paper::FourthLine fourth = paper::fourthLine(m_courses->itemText(index));
    if (!fourth.name.isEmpty()) {
        m_fourthName->setText(fourth.name);
        m_fourthLine->setText(fourth.line);
    }
    const QPixmap glyph = skin::picture(u"skin/001_45.bmp"_s);
    for (int k = 0; k < papers.size(); ++k) {
        auto *b = new QToolButton(m_paperList);
        b->setObjectName(u"t"_s + papers.at(k).cId);
        b->setGeometry(3, 30 * k + 10, 250, 25);
        b->setAutoRaise(true);
        QFont f = b->font();
        f.setPointSize(9);
        b->setFont(f);
        b->setText(session::chapterButtonCaption(papers.at(k).name));
        b->setToolTip(papers.at(k).name.trimmed());
        b->setIcon(glyph);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->show();
        connect(b, &QToolButton::clicked, this, [this, b] { choosePaper(b->objectName().mid(1)); });
        m_paperButtons << b;
    }
    m_paperList->setMinimumHeight(30 * int(papers.size()) + 10);
    m_right->setCurrentWidget(m_info);
}

void MockExamPanel::setSessionKind(bool random)
{
    m_sessionKind = QString::fromUtf8(random ? paper::kRandomKind : paper::kFixedKind);
    m_main->setSessionKind(m_sessionKind);
    m_kindLabel->setText(random ? u"随机试卷"_s : u"模拟试卷"_s);
    m_info->setTitle(random ? u"随机考试卷"_s : u"模拟考试信息"_s);
}

void MockExamPanel::choosePaper(const QString &cId)
{
    setSessionKind(false);
    paper::PaperInfo info;
    try {
        info = paper::paperInfo(db::bank(), cId);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    m_paperId = cId;
    m_paperName = info.name;
    // The course list may show another course by the time the exam starts.
    m_paperCourse = info.course.isEmpty() ? m_courses->currentText() : info.course;
    m_paperLabel->setText(info.name);
    m_count->setText(QString::number(info.total));
    m_start->setEnabled(info.total > 0);
    m_single->setText(info.single);
    m_multiple->setText(info.multiple);
    m_judge->setText(info.judge);
    if (!info.fourth.isEmpty())
        m_fourthLine->setText(info.fourth);
    m_right->setCurrentWidget(m_info);
}

void MockExamPanel::startFixed()
{
    if (m_paperId.isEmpty())
        return;
    // The working copy is about to be replaced: the windows that show the old one go first.
    if (!m_main->closeSessionWindows())
        return;
    m_main->showWaitNotice(MainWindow::WaitNotice::Building, true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    setSessionKind(false);
    paper::Built built;
    try {
        built = paper::buildFixed(db::bank(), Clock::instance(), m_paperId);
    } catch (const paper::BuildError &e) {
        m_main->showWaitNotice(MainWindow::WaitNotice::Building, false);
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    launch(built, m_paperCourse, m_paperName, false);
    m_main->showWaitNotice(MainWindow::WaitNotice::Building, false);
}

void MockExamPanel::startRandom()
{
    const int index = m_courses->currentIndex();
    if (index < 0 || index >= m_courseIds.size())
        return;
    if (!m_main->closeSessionWindows())
        return;
    setSessionKind(true);
    paper::Built built;
    try {
        QRandomGenerator rng(QRandomGenerator::securelySeeded());
        built = paper::buildRandom(db::bank(), Clock::instance(), m_courseIds.at(index), m_courses->currentText(), rng);
    } catch (const paper::BuildError &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    launch(built, m_courses->currentText(), u"随机试卷"_s, true);
}

void MockExamPanel::launch(const paper::Built &built, const QString &courseName, const QString &paperName, bool random)
{
    m_main->setCurrentPageId(built.pageId);
    paper::Brief brief;
    try {
        brief = paper::brief(db::bank(), built.pageId);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (m_exam) {
        disconnect(m_exam, nullptr, m_main, nullptr);
        m_exam->close();
    }
    if (m_instructions)
        m_instructions->dismiss();

    ExamInputs in;
    in.pageId = built.pageId;
    in.sessionKind = m_sessionKind;
    in.questionTotal = built.questionTotal;
    in.examSeconds = m_minutes->value() * 60;
    in.fontSize = m_fontSize->value();
    in.fullMarks = brief.totalText.toDouble();
    in.courseName = courseName;
    in.paperName = paperName;
    in.startText = Clock::instance().now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    in.durationText = QString::number(m_minutes->value()) + u"分钟"_s;
    in.counterText =
        (random ? u"第1题     共"_s : u"第1题         共"_s) + QString::number(built.questionTotal) + u"题"_s;

    auto *exam = new ExamWindow(db::bank(), in);
    if (!exam->open()) {
        delete exam;
        return;
    }
    m_exam = exam;
    m_lastExam = in;
    m_main->setExamWindow(exam);
    connect(exam, &ExamWindow::handedIn, this, [this](const exam::ExamResult &result) {
        m_results->showResult(result);
        onHandedIn();
    });
    MainWindow *main = m_main;
    connect(exam, &QObject::destroyed, main, [main] { main->setEnabled(true); });

    m_instructions = new InstructionsWindow();
    m_instructions->setBrief(QString::number(m_minutes->value()), courseName, brief);
    const bool timed = m_timed->isChecked();
    connect(m_instructions, &InstructionsWindow::startRequested, exam, [exam, timed] {
        if (timed)
            exam->startCountdown();
        // Without a window manager "maximised" means nothing: take the screen's area as well.
        if (const QScreen *screen = exam->screen())
            exam->setGeometry(screen->availableGeometry());
        exam->showMaximized();
    });
    m_instructions->show();
    m_instructions->firstStep();
    m_main->setEnabled(false);
}

void MockExamPanel::onHandedIn()
{
    m_main->bringToFront(parentWidget());
    m_right->setCurrentWidget(m_results);
}

int MockExamPanel::examMinutes() const
{
    return m_minutes->value();
}

int MockExamPanel::examFontSize() const
{
    return m_fontSize->value();
}

ExamWindow *MockExamPanel::openReview(const ExamInputs &inputs)
{
    if (m_exam) {
        disconnect(m_exam, nullptr, m_main, nullptr);
        m_exam->close();
    }
    auto *exam = new ExamWindow(db::bank(), inputs);
    if (!exam->open()) {
        delete exam;
        return nullptr;
    }
    m_exam = exam;
    m_main->setExamWindow(exam);
    connect(exam, &ExamWindow::handedIn, this, [this](const exam::ExamResult &result) {
        m_results->showResult(result);
        onHandedIn();
    });
    if (const QScreen *screen = exam->screen())
        exam->setGeometry(screen->availableGeometry());
    exam->showMaximized();
    return exam;
}

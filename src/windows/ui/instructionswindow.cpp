#include "windows/ui/instructionswindow.h"

#include "db/questiontypes.h"
#include "session/papersession.h"
#include "shell/ui/skin.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWaitMs = 2000;

QLabel *text(const QString &caption, QWidget *parent, bool red = false)
{
    auto *label = new QLabel(caption, parent);
    QFont f = label->font();
    f.setPixelSize(16);
    label->setFont(f);
    label->setStyleSheet(red ? u"color:#FF0000;"_s : u"color:#0000FF;"_s);
    return label;
}

} // namespace

InstructionsWindow::InstructionsWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"logon_win"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(982, 627);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_image = new QLabel(this);
    m_image->setObjectName(u"Image1"_s);
    m_image->setGeometry(rect());
    m_image->setScaledContents(true);
    m_image->setStyleSheet(u"background:#FFFFFF;"_s);

    m_next2 = hotSpot(u"SpeedButton2"_s, {632, 396, 68, 21}, true);
    m_next3 = hotSpot(u"SpeedButton3"_s, {630, 404, 71, 23}, true);
    m_restart = hotSpot(u"SpeedButton4"_s, {733, 405, 69, 21}, false);
    m_start = hotSpot(u"SpeedButton1"_s, {776, 576, 129, 41}, true);
    connect(m_next2, &QToolButton::clicked, this, &InstructionsWindow::onSecondSlideClicked);
    connect(m_next3, &QToolButton::clicked, this, &InstructionsWindow::onThirdSlideClicked);
    connect(m_restart, &QToolButton::clicked, this, &InstructionsWindow::onRestartClicked);
    connect(m_start, &QToolButton::clicked, this, &InstructionsWindow::onStartClicked);

    m_info = buildInformation();
    m_info->hide();

    m_wait = new QTimer(this);
    m_wait->setSingleShot(true);
    m_wait->setInterval(kWaitMs);
    connect(m_wait, &QTimer::timeout, this, &InstructionsWindow::finishWait);
}

QToolButton *InstructionsWindow::hotSpot(const QString &name, const QRect &geometry, bool hand)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setAutoRaise(true);
    b->setStyleSheet(u"QToolButton{background:transparent;border:none;}"_s);
    if (hand)
        b->setCursor(Qt::PointingHandCursor);
    b->hide();
    return b;
}

QWidget *InstructionsWindow::buildInformation()
{
    auto *panel = new QWidget(this);
    panel->setObjectName(u"Panel1"_s);
    panel->setGeometry(128, 168, 689, 217);
    panel->setAutoFillBackground(true);
    panel->setStyleSheet(u"#Panel1{background:#FFFFFF;}"_s);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(24, 16, 24, 12);
    column->setSpacing(10);

    auto *timeLine = new QHBoxLayout;
    timeLine->setSpacing(0);
    timeLine->addWidget(text(u"一、考试时间："_s, panel));
    m_minutes = text(QString(), panel, true);
    m_minutes->setObjectName(u"Label4"_s);
    timeLine->addWidget(m_minutes);
    timeLine->addWidget(text(u"分钟，总分"_s, panel));
    m_total = text(QString(), panel, true);
    m_total->setObjectName(u"Label6"_s);
    m_total->setFixedWidth(48);
    m_total->setAlignment(Qt::AlignCenter);
    timeLine->addWidget(m_total);
    timeLine->addWidget(text(u"分"_s, panel));
    timeLine->addStretch();
    column->addLayout(timeLine);

    auto *courseLine = new QHBoxLayout;
    courseLine->setSpacing(0);
    courseLine->addWidget(text(u"二、考试科目："_s, panel));
    m_course = text(QString(), panel);
    m_course->setObjectName(u"Label8"_s);
    courseLine->addWidget(m_course);
    courseLine->addStretch();
    column->addLayout(courseLine);

    auto *contentLine = new QHBoxLayout;
    contentLine->setSpacing(0);
    auto *contentCaption = text(u"三、考试内容："_s, panel);
    contentCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    contentLine->addWidget(contentCaption, 0, Qt::AlignTop);
    auto *table = new QGridLayout;
    table->setHorizontalSpacing(18);
    table->setVerticalSpacing(4);
    const QStringList names{db::typeName(1), db::typeName(2), db::typeName(3), QString()};
    for (int r = 0; r < 4; ++r) {
        QLabel *name = text(names.at(r), panel);
        QLabel *count = text(u"0题"_s, panel);
        QLabel *marks = text(u"0"_s, panel, true);
        QLabel *unit = text(u"分"_s, panel);
        count->setObjectName(u"Label%1"_s.arg(13 + r));
        marks->setObjectName(u"Label%1"_s.arg(17 + r));
        marks->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (r == 3) {
            name->setObjectName(u"Label12"_s);
            unit->setObjectName(u"Label23"_s);
            m_fourthUnit = unit;
        }
        table->addWidget(name, r, 0);
        table->addWidget(count, r, 1);
        table->addWidget(marks, r, 2);
        table->addWidget(unit, r, 3);
        m_rowName << name;
        m_rowCount << count;
        m_rowMarks << marks;
    }
    contentLine->addLayout(table);
    contentLine->addStretch();
    column->addLayout(contentLine);
    column->addStretch();
    return panel;
}

void InstructionsWindow::setBrief(const QString &minutes, const QString &courseName, const paper::Brief &brief)
{
    m_minutes->setText(minutes);
    m_course->setText(courseName);
    m_total->setText(brief.totalText);
    for (int r = 0; r < 3; ++r) {
        m_rowCount[r]->setText(QString::number(brief.counts[r]) + u"题"_s);
        m_rowMarks[r]->setText(brief.marks[r]);
    }
    const bool fourth = brief.fourthType != 0;
    m_rowName[3]->setText(brief.fourthName);
    m_rowCount[3]->setText(QString::number(brief.fourthCount) + u"题"_s);
    m_rowMarks[3]->setText(fourth ? brief.fourthMarks : u"0"_s);
    for (QLabel *l : {m_rowName[3], m_rowCount[3], m_rowMarks[3], m_fourthUnit})
        l->setVisible(fourth);
    m_thirdPicture = brief.picture;
}

bool InstructionsWindow::isWaiting() const
{
    return m_pending != Pending::None;
}

// A missing picture leaves the slide blank; the sequence goes on so that the exam can still start.
void InstructionsWindow::showPicture(const QString &relativePath)
{
    m_picture = relativePath;
    m_image->setPixmap(skin::picture(relativePath));
    m_image->repaint();
}

void InstructionsWindow::pause(Pending next)
{
    m_pending = next;
    m_wait->start();
}

void InstructionsWindow::firstStep()
{
    showPicture(u"skin/logon-1.jpg"_s);
    pause(Pending::SecondSlide);
}

void InstructionsWindow::finishWait()
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    m_wait->stop();
    switch (pending) {
    case Pending::SecondSlide:
        m_picture.clear();
        showPicture(u"skin/logon-2.jpg"_s);
        m_next2->show();
        break;
    case Pending::FifthSlide:
        m_picture.clear();
        showPicture(u"skin/logon-5.jpg"_s);
        m_info->show();
        m_info->raise();
        m_start->show();
        m_start->raise();
        break;
    case Pending::None:
        break;
    }
}

void InstructionsWindow::onSecondSlideClicked()
{
    if (m_thirdPicture.isEmpty())
        m_thirdPicture = u"skin/logon-3.jpg"_s;
    m_next2->hide();
    showPicture(m_thirdPicture);
    m_next3->show();
    m_restart->show();
}

void InstructionsWindow::onThirdSlideClicked()
{
    m_next3->hide();
    showPicture(u"skin/logon-4.jpg"_s);
    pause(Pending::FifthSlide);
}

void InstructionsWindow::onRestartClicked()
{
    m_wait->stop();
    m_pending = Pending::None;
    m_next3->hide();
    m_restart->hide();
    m_info->hide();
    m_start->hide();
    firstStep();
}

void InstructionsWindow::onStartClicked()
{
    dismiss();
    Q_EMIT startRequested();
}

void InstructionsWindow::dismiss()
{
    m_closeAllowed = true;
    close();
}

// Once the session is built, the only way on is the start hot spot: the learner cannot close the
// window (with the main window disabled, nothing else would lead back).
void InstructionsWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closeAllowed) {
        event->ignore();
        return;
    }
    m_wait->stop();
    QWidget::closeEvent(event);
}

#include "session/ui/chapterpracticepanel.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/practicelauncher.h"
#include "session/chaptersession.h"
#include "session/ui/courselist.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "text/gbk.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>

using namespace Qt::StringLiterals;

namespace {
const QString kSessionKind = u"章节练习"_s;
}

void ChapterPracticePanel::open()
{
    m_main->setPanelKind(kSessionKind);
    m_seconds->setValue(m_main->config().autoTime.toInt());
    m_all->setChecked(true);
    m_fourthLine->clear();
    m_start->setEnabled(false);
    for (QLabel *l : m_typeCounts)
        l->setText(u"0"_s);
    m_boxes->setCurrentWidget(m_info);

    if (fillCourseList(this, m_main, m_courses, &m_courseIds))
        courseChosen(0);
}

void ChapterPracticePanel::resetCounts()
{
    const QSignalBlocker a(m_all);
    m_quiet = true;
    for (int k = 0; k < 3; ++k) {
        m_typeCounts[k]->setText(u"0"_s);
        m_typeTexts[k]->setText(u"题"_s);
    }
    for (QSpinBox *s : m_counts) {
        s->setValue(0);
        s->setMaximum(0);
    }
    m_quiet = false;
    m_total->setText(u"0"_s);
    m_fourthLine->clear();
    setFourthShort(session::fourthTypeShortName(0));
}

void ChapterPracticePanel::courseChosen(int index)
{
    resetCounts();
    // Until a chapter of this course is chosen there is nothing to start.
    m_chapterId.clear();
    m_start->setEnabled(false);
    QList<session::Chapter> chapters;
    try {
        chapters = session::practiceChapters(db::bank(), m_courseIds.value(index));
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    qDeleteAll(m_chapterButtons->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly));
    if (chapters.isEmpty()) {
        m_chapterName->clear();
        m_chapterBox->hide();
        messages::inform(this, u"当前章节记录为零...."_s, u"信息提醒"_s);
        return;
    }
    m_chapterName->setText(u"请选择章节..."_s);
    m_total->setText(u"0"_s);
    m_fourthType = session::fourthType(m_courses->itemText(index));
    m_fourthLine->setText(session::fourthTypeEmptyLine(m_fourthType));
    setFourthShort(session::fourthTypeShortName(m_fourthType));
    m_chapterBox->show();
    for (int k = 0; k < chapters.size(); ++k)
        addChapterButton(k, chapters.at(k).id, chapters.at(k).name);
    m_chapterButtons->setFixedSize(258, 30 * int(chapters.size()) + 10);
    chainChapterButtons();
    m_boxes->setCurrentWidget(m_info);
}

void ChapterPracticePanel::addChapterButton(int k, const QString &chapterId, const QString &name)
{
    auto *b = new QPushButton(session::chapterButtonCaption(name), m_chapterButtons);
    b->setObjectName(u"s"_s + chapterId);
    b->setToolTip(name.trimmed());
    b->setFlat(true);
    b->setIcon(QIcon(m_main->programFile(u"skin/001_35.bmp"_s)));
    b->setStyleSheet(u"text-align:left"_s);
    QFont f = b->font();
    f.setPointSize(9);
    b->setFont(f);
    b->setGeometry(3, 30 * k + 10, 250, 25);
    b->show();
    connect(b, &QPushButton::clicked, this, [this, b] { chapterChosen(b->objectName().mid(1)); });
}

void ChapterPracticePanel::chapterChosen(const QString &chapterId)
{
    m_main->setSessionKind(kSessionKind);
    m_chapterId = chapterId;
    try {
        m_chapterName->setText(session::chapterName(db::bank(), chapterId));
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    showChapterCounts();
    m_boxes->setCurrentWidget(m_info);
}

void ChapterPracticePanel::setCountsEnabled(bool enabled)
{
    for (int k = 0; k < 4; ++k) {
        m_include[k]->setEnabled(enabled);
        m_counts[k]->setEnabled(enabled);
    }
}

void ChapterPracticePanel::showChapterCounts()
{
    session::ChapterCounts counts;
    try {
        counts = session::countChapter(db::bank(), m_chapterId);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    resetCounts();
    m_fourthLine->setText(session::fourthTypeEmptyLine(m_fourthType));
    setFourthShort(session::fourthTypeShortName(m_fourthType));
    if (counts.total == 0) {
        // The fourth type's box is left as it is: nothing can be chosen here anyway.
        m_all->setChecked(true);
        m_all->setEnabled(false);
        for (int k = 0; k < 3; ++k) {
            m_include[k]->setChecked(true);
            m_include[k]->setEnabled(false);
        }
        for (QSpinBox *s : m_counts)
            s->setEnabled(false);
        m_start->setEnabled(false);
        return;
    }
    m_quiet = true;
    m_total->setText(QString::number(counts.total));
    for (int t = 1; t <= 3; ++t) {
        const int n = counts.perType[t];
        m_typeCounts[t - 1]->setText(QString::number(n));
        m_typeTexts[t - 1]->setText(u"题,每题"_s + MainWindow::typeScoreLabel(t));
        m_counts[t - 1]->setMaximum(n);
        m_counts[t - 1]->setValue(n);
    }
    for (int t = 4; t <= 6; ++t) {
        const int n = counts.perType[t];
        if (n == 0)
            continue;
        m_fourthLine->setText(session::fourthTypeCountLine(t, n, MainWindow::typeScoreLabel(t)));
        setFourthShort(session::fourthTypeShortName(t));
        m_counts[3]->setMaximum(n);
        m_counts[3]->setValue(n);
        // A count other than 0 checks its type's box.
        m_include[3]->setChecked(true);
    }
    m_quiet = false;
    m_all->setEnabled(true);
    m_all->setChecked(true);
    for (int k = 0; k < 3; ++k)
        m_include[k]->setChecked(true);
    // "全部习题" holds the boxes and counts fixed.
    setCountsEnabled(false);
    m_start->setEnabled(true);
}

void ChapterPracticePanel::allToggled(bool checked)
{
    // The counts themselves stay as they are.
    const int boxes = checked ? 4 : 3;
    for (int k = 0; k < boxes; ++k)
        m_include[k]->setChecked(true);
    setCountsEnabled(!checked);
}

void ChapterPracticePanel::countChanged(int type, int value)
{
    if (m_quiet)
        return;
    if (value != 0) {
        m_include[type]->setChecked(true);
        return;
    }
    m_include[type]->setChecked(false);
    m_all->setChecked(false);
}

void ChapterPracticePanel::sd1Click()
{
    session::BuildRequest request;
    request.chapterId = m_chapterId;
    for (int k = 0; k < 4; ++k)
        request.counts[k] = m_counts[k]->value();
    request.randomOrder = m_random->isChecked();
    const auto refuse = [this] {
        messages::inform(this, u"当前设置练习题为零,无法进行练习,请重新设置...."_s, u"错误信息"_s);
        m_counts[0]->setFocus();
    };
    if (request.counts == std::array<int, 4>{}) {
        refuse();
        return;
    }
    // The working copy is about to be replaced: the windows that show the old one go first.
    if (!m_main->closeSessionWindows())
        return;

    m_main->showWaitNotice(MainWindow::WaitNotice::Building, true);
    session::BuildResult built;
    try {
        QRandomGenerator rng(QRandomGenerator::global()->generate());
        built = session::buildChapterSession(db::bank(), Clock::instance(), request, rng);
    } catch (const db::Error &e) {
        m_main->showWaitNotice(MainWindow::WaitNotice::Building, false);
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (built.pageId.isEmpty()) {
        m_main->showWaitNotice(MainWindow::WaitNotice::Building, false);
        refuse();
        return;
    }
    m_main->setCurrentPageId(built.pageId);

    practice::PracticeInputs in;
    in.sessionKind = m_main->sessionKind();
    in.countdownStart = m_seconds->value();
    in.questionSeconds = m_seconds->value();
    in.questionTotal = built.questionTotal;
    in.startTime = Clock::instance().now().toString(u"HH:mm:ss"_s);
    in.autoAdvance = m_autoAdvance->isChecked();
    in.elapsedClock = true;
    in.firstNumber = u"1"_s;
    in.fourthTypeName = text::gbkLeft(m_fourthLine->text(), 11);
    in.fontSize = m_fontSize->value();
    in.answerCover = true;
    in.questionSet = practice::QuestionSet::Session;
    in.pageId = built.pageId;
    openPracticeWindow(m_main, in);
    m_main->showWaitNotice(MainWindow::WaitNotice::Building, false);
}

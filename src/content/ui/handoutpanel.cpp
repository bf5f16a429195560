#include "content/ui/handoutpanel.h"

#include "content/handouts.h"
#include "content/ui/contentpanels.h"
#include "content/ui/entryviewer.h"
#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/skinbackground.h"
#include "session/ui/courselist.h"
#include "shell/apppaths.h"
#include "shell/ui/browser.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

HandoutPanel::HandoutPanel(MainWindow *main, QWidget *panel11)
    : QWidget(panel11)
    , m_main(main)
{
    setObjectName(u"handouts"_s);
    auto *outer = new QHBoxLayout(panel11);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    layout->addWidget(buildCourseColumn());

    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(4);
    rightLayout->addWidget(buildStrip());
    auto *pageBox = named(new QGroupBox(u"课程讲义"_s, right), u"handoutPageBox"_s);
    auto *pageLayout = new QVBoxLayout(pageBox);
    pageLayout->setContentsMargins(2, 2, 2, 2);
    m_wb4 = content::adoptBrowser(panel11, u"wb4"_s);
    pageLayout->addWidget(m_wb4);
    rightLayout->addWidget(pageBox, 1);
    layout->addWidget(right, 1);
}

QWidget *HandoutPanel::buildCourseColumn()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(216);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *courseBox = named(new QGroupBox(u"课程列表"_s, column), u"handoutCourseBox"_s);
    skin::setBackground(courseBox, skin::picture(u"skin/bg16.bmp"_s));
    auto *courseLayout = new QVBoxLayout(courseBox);
    m_courses = named(new QComboBox(courseBox), u"handoutCourses"_s);
    m_courses->setAccessibleName(u"课程列表"_s);
    connect(m_courses, &QComboBox::activated, this, &HandoutPanel::courseChosen);
    courseLayout->addWidget(m_courses);
    layout->addWidget(courseBox);

    auto *chapterBox = named(new QGroupBox(u"课程目录"_s, column), u"handoutChapterBox"_s);
    auto *chapterLayout = new QVBoxLayout(chapterBox);
    chapterLayout->setContentsMargins(2, 2, 2, 2);
    // Chapters that do not fit scroll instead of being cut off.
    m_chapterScroll = named(new QScrollArea(chapterBox), u"handoutChapterScroll"_s);
    m_chapterScroll->setFrameShape(QFrame::NoFrame);
    m_chapterScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_chapterArea = named(new QWidget, u"handoutChapters"_s);
    m_chapterScroll->setWidget(m_chapterArea);
    chapterLayout->addWidget(m_chapterScroll);
    layout->addWidget(chapterBox, 1);
    return column;
}

QWidget *HandoutPanel::buildStrip()
{
    auto *strip = named(new QWidget(this), u"handoutStrip"_s);
    strip->setFixedHeight(32);
    skin::setBackground(strip, skin::picture(u"skin/bg16.bmp"_s));
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, 4, 4, 4);
    m_progress = named(new QProgressBar(strip), u"handoutProgress"_s);
    m_progress->setAccessibleName(u"下载进度"_s);
    m_progress->setFixedWidth(240);
    m_progress->hide();
    layout->addWidget(m_progress);
    layout->addStretch(1);
    m_packageButton = named(new QPushButton(u"课程讲义打包"_s, strip), u"SpeedButton51"_s);
    m_packageButton->setFixedSize(137, 24);
    m_packageButton->setEnabled(false);
    m_packageButton->setCursor(Qt::ForbiddenCursor);
    connect(m_packageButton, &QPushButton::clicked, this, &HandoutPanel::openPackage);
    layout->addWidget(m_packageButton);
    return strip;
}

void HandoutPanel::open()
{
    m_main->bringToFront(parentWidget());
    if (fillCourseList(this, m_main, m_courses, &m_courseIds, u"当前课程记录为零,无法进行讲义开列,即将退出...."_s))
        courseChosen(0);
}

void HandoutPanel::courseChosen(int index)
{
    m_wb4->navigate(m_main->programFile(u"data/ks_jy.htm"_s));
    const QString courseId = m_courseIds.value(index);
    QString package;
    QList<content::HandoutChapter> chapters;
    try {
        package = content::coursePackage(db::bank(), courseId);
        chapters = content::handoutChapters(db::bank(), courseId);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (content::hasPackage(package)) {
        m_package = package.trimmed();
        m_packageButton->setEnabled(true);
        m_packageButton->setCursor(Qt::PointingHandCursor);
        m_packageButton->setToolTip(content::packageToolTip(m_courses->itemText(index), m_package));
    } else {
        // A course without practice chapters reads no m_down at all: no package either.
        m_package.clear();
        m_packageButton->setEnabled(false);
        m_packageButton->setCursor(Qt::ForbiddenCursor);
    }

    qDeleteAll(m_chapterArea->findChildren<QWidget *>(Qt::FindDirectChildrenOnly));
    for (int i = 0; i < chapters.size(); ++i)
        addChapterButton(i, chapters.at(i).chapterId, chapters.at(i).name);
    const int bottom = chapters.isEmpty() ? 0 : content::handoutButtonTop(int(chapters.size()) - 1) + 32;
    m_chapterArea->setFixedSize(237, qMax(bottom + 4, 10));
}

void HandoutPanel::addChapterButton(int i, const QString &chapterId, const QString &name)
{
    auto *b = content::entryButton(content::handoutButtonCaption(name), u"a"_s + chapterId, name.trimmed(),
                                   skin::picture(u"skin/001_60.bmp"_s), m_chapterArea);
    b->setToolTip(name.trimmed());
    b->setGeometry(7, content::handoutButtonTop(i), 230, 32);
    b->show();
    connect(b, &QPushButton::clicked, this, [this, b] { chapterClicked(b->objectName().mid(1)); });
}

void HandoutPanel::chapterClicked(const QString &chapterId)
{
    std::optional<content::Link> link;
    try {
        link = content::handout(db::bank(), chapterId);
    } catch (const db::Error &e) {
        messages::inform(this, e.message(), u"错误信息"_s);
        return;
    }
    if (!link) {
        content::reportMissingEntry(m_main);
        return;
    }
    content::showEntry(m_main, m_wb4, *link, true);
}

void HandoutPanel::openPackage()
{
    if (m_package.isEmpty())
        return;
    const QUrl target = content::packageUrl(AppPaths::current(), m_package);
    if (target.isEmpty()) {
        messages::inform(this, u"打包文件不存在,无法打开:"_s + m_package, u"错误信息"_s);
        return;
    }
    if (!QDesktopServices::openUrl(target))
        messages::inform(this, u"没有可以打开该文件的程序:"_s + m_package, u"错误信息"_s);
}

#include "update/ui/updatewindow.h"

#include "shell/apppaths.h"
#include "shell/ui/messages.h"
#include "shell/ui/skin.h"
#include "update/downloader.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMovie>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

const QString kVersion = u"  Ver: 2.0.1.31"_s;

template <typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

void letPaint()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

UpdateWindow::UpdateWindow(const QString &address, const QString &lastDate, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_address(address)
    , m_lastDate(lastDate)
    , m_job(new UpdateJob(AppPaths::current(), this))
{
    setObjectName(u"update_tools"_s);
    m_chooser = [this] { return QFileDialog::getOpenFileName(this); };
    m_sheetChooser = [this] {
        return QFileDialog::getOpenFileName(this, u"选择题库电子表格"_s, {}, u"电子表格 (*.csv);;所有文件 (*)"_s);
    };
    build();
    setWindowTitle(u"数据库升级"_s + kVersion);
    connectJob();
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

UpdateWindow::~UpdateWindow() = default;

std::unique_ptr<UpdateWindow> UpdateWindow::create(const QStringList &args)
{
    if (args.isEmpty()) {
        messages::inform(nullptr, u"本程序不作为单独使用! "_s, u"升级程序"_s);
        return nullptr;
    }
    auto window = std::make_unique<UpdateWindow>(args.value(0), args.value(1));
    if (const QStringList &errors = window->job().configErrors(); !errors.isEmpty())
        messages::inform(window.get(), errors.join(u'\n'), u"错误信息"_s);
    return window;
}

void UpdateWindow::build()
{
    setFixedSize(651, 346);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    m_picture = named(new QLabel(this), u"Image1"_s);
    m_picture->setGeometry(0, 0, 651, 145);
    m_picture->setScaledContents(true);
    // A missing picture leaves the strip white.
    m_picture->setPixmap(skin::picture(u"skin/bg11.bmp"_s));

    auto *headline = named(new QLabel(u"题库升级"_s, this), u"Label1"_s);
    QFont serif(u"宋体"_s);
    serif.setPixelSize(33);
    headline->setFont(serif);
    headline->setGeometry(40, 38, 300, 46);
    auto *subject = named(new QLabel(u"Update Subject"_s, this), u"Label2"_s);
    QFont boldItalic = subject->font();
    boldItalic.setBold(true);
    boldItalic.setItalic(true);
    subject->setFont(boldItalic);
    subject->setGeometry(44, 88, 200, 20);

    m_online = named(new QRadioButton(u"从网上自动更新"_s, this), u"RadioButton1"_s);
    m_online->setGeometry(30, 158, 200, 22);
    m_online->setChecked(true);
    m_local = named(new QRadioButton(u"本地文件库更新"_s, this), u"RadioButton2"_s);
    m_local->setGeometry(30, 184, 200, 22);
    // A question sheet (CSV) checked and merged like a bank file.
    m_sheet = named(new QRadioButton(u"电子表格导入"_s, this), u"RadioButton3"_s);
    m_sheet->setGeometry(232, 184, 100, 22);

    m_progressArea = named(new QGroupBox(this), u"GroupBox1"_s);
    m_progressArea->setGeometry(20, 212, 300, 62);
    m_animation = named(new QLabel(m_progressArea), u"Animate1"_s);
    m_animation->setGeometry(10, 26, 33, 25);
    m_movie = skin::waitAnimation(this);
    m_movie->stop(); // runs only while work is under way
    m_animation->setMovie(m_movie);
    m_bar = named(new QProgressBar(m_progressArea), u"ProgressBar1"_s);
    m_bar->setGeometry(52, 29, 233, 20);
    m_bar->setRange(0, 100);
    m_progressArea->hide();

    m_resultArea = named(new QWidget(this), u"Panel1"_s);
    m_resultArea->setGeometry(20, 282, 300, 36);
    m_result = named(new QLabel(u"本次更新任务已完成..."_s, m_resultArea), u"Label3"_s);
    m_result->setGeometry(8, 8, 284, 20);
    m_resultArea->hide();

    m_report = named(new QPlainTextEdit(this), u"Memo1"_s);
    m_report->setGeometry(334, 156, 180, 176);
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_report->hide();

    auto *guide = named(new QLabel(u"Update Guide"_s, this), u"Label4"_s);
    QFont italic = guide->font();
    italic.setItalic(true);
    guide->setFont(italic);
    QPalette silver = guide->palette();
    silver.setColor(QPalette::WindowText, QColor(0xC0, 0xC0, 0xC0));
    guide->setPalette(silver);
    guide->setGeometry(530, 160, 110, 20);
    auto *line = named(new QFrame(this), u"Bevel1"_s);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(530, 182, 110, 2);

    m_start = named(new QPushButton(u"开始"_s, this), u"Button1"_s);
    QFont heavy(u"黑体"_s);
    heavy.setPixelSize(16);
    m_start->setFont(heavy);
    m_start->setGeometry(530, 272, 107, 45);
    connect(m_start, &QPushButton::clicked, this, &UpdateWindow::startClicked);
}

void UpdateWindow::connectJob()
{
    connect(m_job, &UpdateJob::step, this, [this](const QString &text) {
        m_progressArea->setTitle(text);
        letPaint();
    });
    Downloader &downloader = m_job->downloader();
    connect(&downloader, &Downloader::started, this,
            [this](qint64 total) { m_bar->setRange(0, int(qBound(qint64(0), total, qint64(INT_MAX)))); });
    connect(&downloader, &Downloader::progress, this, [this](qint64 received, qint64) {
        m_bar->setValue(int(qMin<qint64>(received, m_bar->maximum())));
        letPaint();
    });
    // The bar shows the first transfer only; the merge shows it again.
    connect(&downloader, &Downloader::finished, this, [this] {
        m_bar->hide();
        m_progressArea->setTitle(u"请稍等,正在分析升级信息..."_s);
    });
    connect(m_job, &UpdateJob::mergeStarted, this, [this] {
        m_report->clear();
        m_report->show();
        showProgressArea();
        m_bar->setRange(0, 9);
        m_bar->setValue(0);
        m_bar->show();
        letPaint();
    });
    connect(m_job, &UpdateJob::tableMerged, this, [this](int table, const QStringList &report) {
        m_report->setPlainText(report.join(u'\n'));
        m_bar->setValue(table);
        letPaint();
    });
    connect(m_job, &UpdateJob::rowsMerged, this, &letPaint);
}

void UpdateWindow::startClicked()
{
    if (m_used) {
        close();
        return;
    }
    m_used = true;
    m_start->setText(u"关闭"_s);
    m_report->clear();
    // Closing in the middle of a merge is not offered; the button is back when the work is done.
    m_start->setEnabled(false);
    if (m_online->isChecked())
        runOnline();
    else if (m_sheet->isChecked())
        runSheet();
    else
        runLocal();
    m_start->setEnabled(true);
}

void UpdateWindow::showProgressArea()
{
    m_progressArea->show();
    m_movie->start();
}

void UpdateWindow::finishWork(bool hideProgress)
{
    m_movie->stop();
    if (hideProgress)
        m_progressArea->hide();
}

void UpdateWindow::setResult(const QString &text)
{
    m_result->setText(text);
    m_resultArea->show();
}

void UpdateWindow::showFailure(const UpdateJob::Outcome &outcome)
{
    // The work has stopped: the animation stops with it; the areas stay as they were.
    finishWork(false);
    // A failed merge changed nothing: the lines shown while it wrote are replaced.
    m_report->setPlainText(outcome.report.join(u'\n'));
    setResult(UpdateJob::resultText(outcome, false));
    messages::inform(this, outcome.message, outcome.caption);
}

void UpdateWindow::runOnline()
{
    showProgressArea();
    letPaint();
    const UpdateJob::Outcome outcome = m_job->runOnline(m_address, m_lastDate);
    using R = UpdateJob::Result;
    switch (outcome.result) {
    case R::Offline:
    case R::Failed:
        showFailure(outcome);
        break;
    case R::NothingNewer:
        messages::inform(this, outcome.message, outcome.caption);
        finishWork(true);
        setResult(UpdateJob::resultText(outcome, false));
        break;
    case R::NoEntries:
        messages::inform(this, outcome.message, outcome.caption);
        finishWork(false);
        setResult(UpdateJob::resultText(outcome, false));
        break;
    case R::Merged:
        // The lines after the tables (the changed keys) come once the merge is done.
        m_report->setPlainText(outcome.report.join(u'\n'));
        finishWork(true);
        setResult(UpdateJob::resultText(outcome, false));
        messages::inform(this, outcome.message, outcome.caption);
        break;
    case R::FilesOnly:
        finishWork(true);
        setResult(UpdateJob::resultText(outcome, false));
        messages::inform(this, outcome.message, outcome.caption);
        m_report->hide();
        break;
    case R::NothingDone:
        finishWork(true);
        m_report->hide();
        break;
    }
}

void UpdateWindow::runLocal()
{
    const QString file = m_chooser();
    if (file.isEmpty()) {
        m_report->hide();
        return;
    }
    const UpdateJob::Outcome outcome = m_job->runLocal(QFileInfo(file).absoluteFilePath());
    if (outcome.result != UpdateJob::Result::Merged) {
        showFailure(outcome);
        return;
    }
    finishWork(true);
    setResult(UpdateJob::resultText(outcome, true));
    messages::inform(this, outcome.message, outcome.caption);
    m_report->hide();
}

void UpdateWindow::runSheet()
{
    const QString file = m_sheetChooser();
    if (file.isEmpty()) {
        m_report->hide();
        return;
    }
    showProgressArea();
    letPaint();
    const UpdateJob::Outcome outcome = m_job->runImport(QFileInfo(file).absoluteFilePath());
    if (outcome.result != UpdateJob::Result::Merged) {
        // A refused sheet lists all its problems where the report would be, the first ones in the box.
        constexpr qsizetype kShownInBox = 10;
        finishWork(false);
        m_report->setPlainText(outcome.report.join(u'\n'));
        m_report->setVisible(!outcome.report.isEmpty());
        setResult(UpdateJob::resultText(outcome, true));
        QStringList text = QStringList{outcome.message} + outcome.report.mid(0, kShownInBox);
        if (outcome.report.size() > kShownInBox)
            text << u"……"_s;
        messages::inform(this, text.join(u'\n'), outcome.caption);
        return;
    }
    finishWork(true);
    setResult(UpdateJob::resultText(outcome, true));
    messages::inform(this, outcome.message, outcome.caption);
    m_report->hide();
}

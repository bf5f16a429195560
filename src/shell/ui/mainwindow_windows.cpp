// The main window's update check, login and login settings.
#include "shell/ui/mainwindow.h"

#include "update/downloader.h"
#include "update/ui/updatechecker.h"
#include "windows/ui/loginsettingswindow.h"
#include "windows/ui/loginwindow.h"

#include <QProgressBar>

using namespace Qt::StringLiterals;

void MainWindow::buildUpdateCheck()
{
    m_updateChecker = new UpdateChecker(m_config, this);
    connect(m_updateChecker, &UpdateChecker::statusChanged, this, [this](const QString &text) { setStatus(2, text); });

    // The notice download shows its progress in the handout panel's top strip.
    auto *bar = new QProgressBar(panel(u"Panel11"_s));
    bar->setObjectName(u"ProgressBar1"_s);
    bar->setAccessibleName(u"下载进度"_s);
    bar->setGeometry(230, 6, 300, 20);
    bar->hide();
    const Downloader &downloader = m_updateChecker->noticeDownloader();
    connect(&downloader, &Downloader::started, bar, [bar](qint64 total) {
        bar->setRange(0, int(qBound(qint64(0), total, qint64(INT_MAX))));
        bar->setValue(0);
        bar->show();
        bar->raise();
    });
    connect(&downloader, &Downloader::progress, bar,
            [bar](qint64 received, qint64) { bar->setValue(int(qMin<qint64>(received, bar->maximum()))); });
    connect(&downloader, &Downloader::finished, bar, &QWidget::hide);
}

void MainWindow::startUpdater()
{
    m_updateChecker->startUpdater();
}

bool MainWindow::askLogin()
{
    LoginWindow login(this);
    login.setHeadline(titleText());
    return login.exec() == QDialog::Accepted;
}

LoginSettingsWindow *MainWindow::loginSettings() const
{
    return m_loginSettings;
}

void MainWindow::openLoginSettings()
{
    if (m_loginSettings)
        m_loginSettings->close();
    m_loginSettings = new LoginSettingsWindow(m_config.userLogon, this);
    m_loginSettings->show();
}

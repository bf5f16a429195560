// The main window's update check, login and login settings.
#include "shell/ui/mainwindow.h"

#include "db/connection.h"
#include "shell/apppaths.h"
#include "shell/ui/messages.h"
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

bool MainWindow::askLogin(const QString &server)
{
    LoginWindow login(this);
    login.setHeadline(titleText());
    if (!server.isEmpty())
        login.setServer(QString::fromLatin1(db::kMainConnection), server);
    return login.exec() == QDialog::Accepted;
}

LoginSettingsWindow *MainWindow::loginSettings() const
{
    return m_loginSettings;
}

void MainWindow::openLoginSettings()
{
    // On a centre's server the learner's account is the server's; user_logon is not his to write.
    if (db::serverConfigured(AppPaths::current())) {
        messages::inform(this, u"本机使用培训中心的服务器: 学员以自己的学员名和密码登陆,\n密码由培训中心设置."_s,
                         u"提示信息"_s);
        return;
    }
    if (m_loginSettings)
        m_loginSettings->close();
    m_loginSettings = new LoginSettingsWindow(m_config.userLogon, this);
    m_loginSettings->show();
}

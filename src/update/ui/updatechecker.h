#pragma once

#include "shell/appconfig.h"

#include <QObject>
#include <QPointer>

class AsyncDownload;
class Downloader;
class InfoPopup;
class QTimer;
class QWidget;

// exambank's look for a newer question bank and for the publisher's notice. The update list is
// fetched in the background at the first show; a second later the list timer compares its date
// with the last update and offers to start the updater. The notice timer fetches alter.ini about
// six seconds after the start and shows its text in the information popup.
class UpdateChecker final : public QObject
{
    Q_OBJECT
public:
    UpdateChecker(const AppConfig &config, QWidget *window);
    ~UpdateChecker() override;

    // Online at the first show: the list request goes out, the notice timer is switched on.
    void start();
    // The updater with the update address and the date of the last update; a failure to start it
    // is reported. Used by the list timer and the manual update.
    bool startUpdater();

    bool listReady() const { return m_listReady; }
    QTimer *listTimer() const { return m_listTimer; }     // Timer2
    QTimer *noticeTimer() const { return m_noticeTimer; } // Timer1
    AsyncDownload &listDownload() const { return *m_listDownload; }
    // Transfers of the notice file: begin, progress and end for the progress display.
    Downloader &noticeDownloader() const { return *m_noticeDownloader; }
    // The popup of the last notice while it is open.
    InfoPopup *popup() const;
    // How long the notice address may take to answer.
    void setNoticeTimeoutMs(int ms) { m_noticeTimeoutMs = ms; }

public Q_SLOTS:
    // The first tick analyses the list; later ticks do nothing.
    void listTimerTick();
    // Counts ticks; the sixth one fetches the notice and switches the timer off.
    void noticeTimerTick();

Q_SIGNALS:
    // Text for the update panel of the status bar.
    void statusChanged(const QString &text);

private:
    void listArrived(bool ok);
    void showNotice();

    QWidget *m_window;
    QString m_ftpUrl;
    QString m_updateBeforeTime;
    QString m_poUrl1;
    bool m_listReady = false;
    bool m_listAnalysed = false;
    int m_ticks = 0; // notice-timer ticks
    int m_noticeTimeoutMs = 10000;
    QTimer *m_listTimer;
    QTimer *m_noticeTimer;
    AsyncDownload *m_listDownload;
    Downloader *m_noticeDownloader;
    QPointer<InfoPopup> m_popup;
};

#pragma once

#include "shell/apppaths.h"
#include "update/bankmerge.h"
#include "update/updatelist.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class Downloader;

// The updater's work without its window: the online update (list, downloads, merge) and the
// local-file update (merge of a chosen bank). Each run ends in an Outcome that the window turns
// into its message boxes and result line and the command line into its output and exit code.
// main.ini gets the new update dates only when a run has done all its work.
class UpdateJob final : public QObject
{
    Q_OBJECT
public:
    enum class Result {
        Offline,      // no internet connection
        NothingNewer, // the list is not newer than the last update
        NoEntries,    // the list names no file
        Merged,       // a bank was merged
        FilesOnly,    // files were downloaded, no bank
        NothingDone,  // the list held only empty entries
        Failed,
    };
    struct Outcome
    {
        Result result = Result::Failed;
        QString message; // text of the message box; empty when none is shown
        QString caption;
        int fileCount = 0;
        QStringList report;
    };

    // Reads main.ini's user_pid, as exambank reads it at start-up.
    explicit UpdateJob(const AppPaths &paths, QObject *parent = nullptr);
    ~UpdateJob() override;

    // The decoded user_pid. SQLite files carry no password, so it is not used to open a bank.
    QString bankPassword() const { return m_password; }
    // What was wrong with main.ini at start-up (a malformed user_pid), worded as exambank words it.
    const QStringList &configErrors() const { return m_configErrors; }

    Downloader &downloader() { return *m_downloader; }
    void setOnlineCheck(std::function<bool()> check) { m_online = std::move(check); }
    void setMergeTuning(const BankMerge::Tuning &tuning) { m_tuning = tuning; }

    // address: the prefix of every download address. lastDate: the date of the last update; it
    // becomes the list's date when the update goes ahead.
    Outcome runOnline(const QString &address, QString &lastDate);
    Outcome runLocal(const QString &bankFile);

    // The result line of the window for an outcome.
    static QString resultText(const Outcome &outcome, bool local);

Q_SIGNALS:
    void step(const QString &text);
    void mergeStarted();
    // After each table: its number in merge order and the report so far.
    void tableMerged(int table, const QStringList &report);
    void rowsMerged();

private:
    bool readUpdateDays(int *days, QString *error) const;
    bool download(const QString &address, const QList<update::Entry> &entries, bool *bank, int *files, QString *error);
    Outcome merge(const QString &bankFile);
    bool writeDates(const QString &listDate, int days, QString *error) const;

    AppPaths m_paths;
    QStringList m_configErrors; // before m_password, which fills it
    QString m_password;
    Downloader *m_downloader;
    std::function<bool()> m_online;
    BankMerge::Tuning m_tuning;
};

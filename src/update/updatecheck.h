#pragma once

#include <QByteArray>
#include <QString>

// What exambank makes of the downloaded update list and of the publisher's notice file.
namespace update {

struct ListVerdict
{
    enum class Kind {
        NotFetched,  // the list did not arrive
        BadList,     // line 1 is not a date
        BadLastDate, // update_before_time is not a date
        NotNewer,    // the last update is as new as the list or newer
        Newer,       // a newer bank waits: ask whether to start the updater
    };
    Kind kind = Kind::NotFetched;
    QString status;   // the text for the update panel of the status bar
    QString listDate; // line 1 of the list, as written
};

// Compares the date on line 1 of the list with the date of the last update; only the dates count,
// a time on the list's line is ignored.
ListVerdict judgeList(bool listReady, const QByteArray &listBytes, const QString &updateBeforeTime);

// Status texts of the steps around the question.
QString analysingStatus();
QString listDownloadedStatus();
QString updaterStartedStatus(const QString &listDate);
QString updateDeclinedStatus();

// [main] alter_con and alter_url of a notice file (UTF-8, or GBK when not UTF-8); both empty when
// the file is missing.
struct Notice
{
    QString text;
    QString address;
};
Notice readNotice(const QString &path);

} // namespace update

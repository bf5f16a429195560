#pragma once

#include <QString>
#include <QStringList>

// Starting the updater program from exambank: "update" beside exambank, given the update address and
// the date of the last update as its two arguments, detached (exambank does not wait for it).
namespace update {

struct UpdaterCall
{
    QString program;
    QStringList arguments;
};

UpdaterCall updaterCall(const QString &programDir, const QString &ftpUrl, const QString &lastUpdate);

// False when the program could not be started (missing or not executable).
bool startUpdater(const UpdaterCall &call);

} // namespace update

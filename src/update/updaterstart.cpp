#include "update/updaterstart.h"

#include <QDir>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace update {

UpdaterCall updaterCall(const QString &programDir, const QString &ftpUrl, const QString &lastUpdate)
{
    // Passed as two separate arguments, so a blank inside a value cannot shift them.
    return {QDir(programDir).filePath(u"update"_s), {ftpUrl, lastUpdate}};
}

bool startUpdater(const UpdaterCall &call)
{
    return QProcess::startDetached(call.program, call.arguments, QFileInfo(call.program).absolutePath());
}

} // namespace update

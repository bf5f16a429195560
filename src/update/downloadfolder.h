#pragma once

#include <QDir>
#include <QString>

// The program folder's downloads folder: the update list, the downloaded bank and the publisher's
// notice. The Windows layout calls it update\, but on Linux the updater program itself is named
// update and takes that name in the same folder, so the folder is updates/.
namespace update {

inline constexpr auto kDownloadFolder = "updates";

inline QString downloadPath(const QString &programDir, const QString &fileName)
{
    return QDir(programDir).filePath(QLatin1StringView(kDownloadFolder) + u'/' + fileName);
}

} // namespace update

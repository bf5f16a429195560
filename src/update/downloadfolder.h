#pragma once

#include "shell/apppaths.h"

#include <QString>

// The downloads folder: the update list, the downloaded bank and the publisher's notice. In the
// program folder the Windows layout calls it update\, but on Linux the updater program itself is
// named update and takes that name in the same folder, so the folder is updates/.
namespace update {

inline constexpr auto kDownloadFolder = "updates";

inline QString downloadPath(const AppPaths &paths, const QString &fileName)
{
    return paths.downloadPath(fileName);
}

} // namespace update

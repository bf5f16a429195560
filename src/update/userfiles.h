#pragma once

#include "shell/apppaths.h"

#include <QString>
#include <QStringList>

// The learner's own files of an installed layout, made ready at each start of either program:
// the folders, main.ini copied from the shipped default, the bank copied from the shipped seed on
// first start. When the shipped seed has changed since it was last taken (a newer package), it is
// merged into the learner's bank by the merge engine, which keeps every record. A portable layout
// needs none of this.
namespace update {

struct UserFilesResult
{
    bool ok = true;
    bool bankCopied = false;
    bool seedMerged = false;
    QStringList mergeReport; // the merge engine's lines when the seed was merged
    QString error;           // why not ok
};

UserFilesResult prepareUserFiles(const AppPaths &paths);

// The file beside the learner's bank that names the seed last taken (size and modification time).
QString seedStampPath(const AppPaths &paths);

} // namespace update

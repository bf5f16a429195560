#include "update/userfiles.h"

#include "db/connection.h"
#include "update/bankmerge.h"
#include "update/incomingbank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace update {

namespace {

constexpr auto kLocalConnection = "userfiles-local";
constexpr auto kSeedConnection = "userfiles-seed";

// The learner's copies are his alone (main.ini may hold a login password), and never inherit the
// read-only mode of the shipped files.
constexpr QFile::Permissions kOwnFile = QFile::ReadOwner | QFile::WriteOwner;

QString stampOf(const QString &file)
{
    const QFileInfo info(file);
    return u"%1 %2"_s.arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

QString readStamp(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

bool writeStamp(const QString &path, const QString &stamp, QString *error)
{
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && f.write(stamp.toUtf8() + '\n') >= 0 && f.commit())
        return true;
    *error = u"无法写入 %1: %2"_s.arg(QDir::toNativeSeparators(path), f.errorString());
    return false;
}

// Copies through a temporary file renamed at the end, so that an interrupted start never leaves
// half a file under the real name.
bool copyOwn(const QString &from, const QString &to, QString *error)
{
    const QString part = to + u".part"_s;
    QFile::remove(part);
    if (!QFile::copy(from, part)) {
        *error = u"无法复制 %1 到 %2."_s.arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to));
        return false;
    }
    if (!QFile::setPermissions(part, kOwnFile) || !QFile::rename(part, to)) {
        QFile::remove(part);
        *error = u"无法写入 %1."_s.arg(QDir::toNativeSeparators(to));
        return false;
    }
    return true;
}

bool mergeSeed(const AppPaths &paths, UserFilesResult *result)
{
    const QString local = QString::fromLatin1(kLocalConnection);
    const QString seed = QString::fromLatin1(kSeedConnection);
    QString error;
    bool ok = false;
    // The package's newer bank goes into this computer's own file, also when main.ini names a
    // training centre's server: the centre updates the server's questions itself.
    if (db::openBank(db::bankPath(paths), local, &error)) {
        if (openIncomingBank(paths.seedBank(), seed, &error)) {
            {
                BankMerge merge(db::bank(local), db::bank(seed));
                ok = merge.run();
                result->mergeReport = merge.report();
                if (!ok)
                    error = merge.error();
            }
            db::closeBank(seed);
        }
        db::closeBank(local);
    }
    if (!ok)
        result->error = u"新题库未能合并到 %1: %2"_s.arg(QDir::toNativeSeparators(paths.bank()), error);
    return ok;
}

} // namespace

QString seedStampPath(const AppPaths &paths)
{
    return paths.dataDir() + u"/seed.stamp"_s;
}

UserFilesResult prepareUserFiles(const AppPaths &paths)
{
    UserFilesResult result;
    if (!paths.isInstalled())
        return result;
    const auto fail = [&result](const QString &error) {
        result.ok = false;
        result.error = error;
        return result;
    };
    for (const QString &dir : {paths.configDir(), paths.dataDir(), paths.downloadsDir()}) {
        if (!QDir().mkpath(dir))
            return fail(u"无法创建文件夹 %1."_s.arg(QDir::toNativeSeparators(dir)));
    }
    QString error;
    if (!QFileInfo::exists(paths.mainIni()) && QFileInfo::exists(paths.defaultMainIni()) &&
        !copyOwn(paths.defaultMainIni(), paths.mainIni(), &error))
        return fail(error);

    const QString seed = paths.seedBank();
    if (!QFileInfo(seed).isFile())
        return result; // nothing shipped to start from: the missing bank is reported when opened
    const QString stamp = stampOf(seed);
    if (!QFileInfo::exists(paths.bank())) {
        if (!copyOwn(seed, paths.bank(), &error))
            return fail(error);
        result.bankCopied = true;
    } else if (readStamp(seedStampPath(paths)) != stamp) {
        if (!mergeSeed(paths, &result)) {
            result.ok = false;
            return result; // the stamp stays old: the next start tries again
        }
        result.seedMerged = true;
    } else {
        return result;
    }
    if (!writeStamp(seedStampPath(paths), stamp, &error))
        return fail(error);
    return result;
}

} // namespace update

#include "shell/apppaths.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

// Relative to the installation prefix; set by the build from the same variables the install rules
// use.
#ifndef QM_INSTALL_BINDIR
#define QM_INSTALL_BINDIR "bin"
#endif
#ifndef QM_INSTALL_HELPERDIR
#define QM_INSTALL_HELPERDIR "libexec/quillmark"
#endif
#ifndef QM_INSTALL_SHAREDIR
#define QM_INSTALL_SHAREDIR "share/quillmark"
#endif

namespace {

constexpr auto kName = "quillmark";

AppPaths &currentPaths()
{
    static AppPaths paths;
    return paths;
}

// An XDG base folder: the variable when it holds an absolute path, otherwise home + fallback.
QString baseFolder(const char *variable, const QString &home, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(home + u'/' + fallback);
}

// The prefix an executable in executableDir belongs to, when it lies in the folder the install
// rules give its program.
QString prefixOf(const QString &executableDir, const QString &installDir)
{
    const QString up = QDir(u"/p/"_s + installDir).relativeFilePath(u"/p"_s);
    return QDir::cleanPath(executableDir + u'/' + up);
}

} // namespace

AppPaths::UserFolders AppPaths::UserFolders::fromEnvironment()
{
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    return {baseFolder("XDG_CONFIG_HOME", home, u".config"_s), baseFolder("XDG_DATA_HOME", home, u".local/share"_s),
            baseFolder("XDG_CACHE_HOME", home, u".cache"_s)};
}

AppPaths::AppPaths(const QString &programDir)
    : m_programDir(programDir)
{
}

AppPaths AppPaths::installed(const QString &prefix, const UserFolders &user)
{
    AppPaths p;
    p.m_layout = Layout::Installed;
    p.m_prefix = QDir::cleanPath(prefix);
    p.m_share = QDir::cleanPath(p.m_prefix + u'/' + QLatin1StringView(QM_INSTALL_SHAREDIR));
    p.m_config = QDir::cleanPath(user.config + u'/' + QLatin1StringView(kName));
    p.m_userData = QDir::cleanPath(user.data + u'/' + QLatin1StringView(kName));
    p.m_cache = QDir::cleanPath(user.cache + u'/' + QLatin1StringView(kName));
    return p;
}

AppPaths::Layout AppPaths::choose(bool folderHasMainIni, bool folderWritable, bool shareFound)
{
    if (folderHasMainIni && folderWritable)
        return Layout::Portable;
    return shareFound ? Layout::Installed : Layout::Portable;
}

AppPaths AppPaths::decide(const QString &executableDir, Program program, const UserFolders &user)
{
    const QString dir = QDir::cleanPath(executableDir);
    const QString installDir =
        QLatin1StringView(program == Program::Trainer ? QM_INSTALL_BINDIR : QM_INSTALL_HELPERDIR);
    const QString prefix = prefixOf(dir, installDir);
    const AppPaths candidate = installed(prefix, user);
    const bool shareFound = QFileInfo(candidate.m_share).isDir() && QDir::cleanPath(prefix + u'/' + installDir) == dir;
    const QFileInfo folder(dir);
    const Layout layout = choose(QFileInfo(dir + u"/main.ini"_s).isFile(), folder.isWritable(), shareFound);
    return layout == Layout::Installed ? candidate : AppPaths(dir);
}

const AppPaths &AppPaths::current()
{
    return currentPaths();
}

void AppPaths::setCurrent(const AppPaths &paths)
{
    currentPaths() = paths;
}

QString AppPaths::mainIni() const
{
    return isInstalled() ? m_config + u"/main.ini"_s : QDir(m_programDir).filePath(u"main.ini"_s);
}

QString AppPaths::dataDir() const
{
    return isInstalled() ? m_userData + u"/data"_s : QDir(m_programDir).filePath(u"data"_s);
}

QString AppPaths::bank() const
{
    return dataDir() + u"/sys.htm"_s;
}

QString AppPaths::downloadsDir() const
{
    // Named updates/, not update/: the updater program takes that name in the portable folder.
    return isInstalled() ? m_cache + u"/updates"_s : QDir(m_programDir).filePath(u"updates"_s);
}

QString AppPaths::downloadPath(const QString &fileName) const
{
    return downloadsDir() + u'/' + fileName;
}

QStringList AppPaths::roots() const
{
    if (isInstalled())
        return {m_userData, m_share};
    return {m_programDir};
}

QString AppPaths::file(const QString &relative) const
{
    if (!isInstalled())
        return QDir(m_programDir).filePath(relative);
    const QString own = QDir(m_userData).filePath(relative);
    return QFileInfo::exists(own) ? own : QDir(m_share).filePath(relative);
}

QString AppPaths::updaterProgram() const
{
    if (isInstalled())
        return QDir::cleanPath(m_prefix + u'/' + QLatin1StringView(QM_INSTALL_HELPERDIR) + u"/update"_s);
    return QDir(m_programDir).filePath(u"update"_s);
}

QString AppPaths::seedBank() const
{
    return isInstalled() ? m_share + u"/data/sys.htm"_s : QString();
}

QString AppPaths::defaultMainIni() const
{
    return isInstalled() ? m_share + u"/main.ini"_s : QString();
}

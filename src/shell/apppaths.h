#pragma once

#include <QString>
#include <QStringList>

// Where the programs' files are. Two layouts:
// - portable: everything in the program folder beside the executables, as assembled in build/app/;
// - installed: the programs under a prefix (bin/exambank, libexec/quillmark/update), the shipped
//   files read-only in share/quillmark/, and the learner's own files in the XDG folders:
//   main.ini in $XDG_CONFIG_HOME/quillmark/, data/ (the bank and downloaded pages) in
//   $XDG_DATA_HOME/quillmark/, the downloads in $XDG_CACHE_HOME/quillmark/updates/.
// The layout of a run is decided once at start-up (decide(), then setCurrent()); windows ask
// current() for their files.
class AppPaths final
{
public:
    enum class Layout { Portable, Installed };
    enum class Program { Trainer, Updater };

    // The per-user base folders, after the XDG rules (unset or relative values fall back).
    struct UserFolders
    {
        QString config; // $XDG_CONFIG_HOME or ~/.config
        QString data;   // $XDG_DATA_HOME or ~/.local/share
        QString cache;  // $XDG_CACHE_HOME or ~/.cache
        static UserFolders fromEnvironment();
    };

    // A program folder is the portable layout over that folder.
    AppPaths(const QString &programDir = QString()); // NOLINT(google-explicit-constructor)
    static AppPaths installed(const QString &prefix, const UserFolders &user);

    // The rule of both programs. A folder holding main.ini that this user may write is portable;
    // otherwise, when the shipped files are found where an installation puts them relative to the
    // executable, installed; otherwise portable over the executable's folder (missing files then
    // take their defaults, as before). main.ini decides first, so that the rule is also right for
    // root, who may write everywhere.
    static Layout choose(bool folderHasMainIni, bool folderWritable, bool shareFound);
    static AppPaths decide(const QString &executableDir, Program program, const UserFolders &user);

    static const AppPaths &current();
    static void setCurrent(const AppPaths &paths);

    Layout layout() const { return m_layout; }
    bool isInstalled() const { return m_layout == Layout::Installed; }

    // The learner's writable files.
    QString mainIni() const;
    QString bank() const;
    QString dataDir() const; // data/: the bank and the files an update downloads
    QString downloadsDir() const;
    QString downloadPath(const QString &fileName) const;

    // A shipped file by its program-folder name ("skin/bg11.bmp", "mafy.a", "data/help.htm"): the
    // learner's copy when an update has put one there, otherwise the shipped one.
    QString file(const QString &relative) const;
    // The folders file() looks in, first to last; each holds the program folder's tree.
    QStringList roots() const;

    QString updaterProgram() const;

    // Installed layout only: the shipped folder, its bank (the seed of the learner's) and main.ini.
    QString shareDir() const { return m_share; }
    QString seedBank() const;
    QString defaultMainIni() const;
    QString configDir() const { return m_config; }
    QString userDataDir() const { return m_userData; }

private:
    Layout m_layout = Layout::Portable;
    QString m_programDir; // portable
    QString m_prefix;     // installed
    QString m_share;
    QString m_config;
    QString m_userData;
    QString m_cache;
};

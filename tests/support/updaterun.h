#pragma once

#include "support/testbank.h"

#include <QDir>
#include <QFile>
#include <QProcess>

// The assembled updater copied into a test's program folder and run there, as a user would.
namespace updaterun {

inline void installUpdate(const TestBank &bank)
{
    const QString target = bank.path(QStringLiteral("update"));
    QFile::remove(target);
    if (!QFile::copy(QDir(QStringLiteral(QM_APP_DIR)).filePath(QStringLiteral("update")), target))
        qFatal("cannot copy update from %s", QM_APP_DIR);
}

struct Run
{
    int code = -1; // -1: it did not finish
    QString out;
    QString err;
};

// Runs the folder's updater with args, input on its standard input.
inline Run runUpdate(const TestBank &bank, const QStringList &args, const QString &input = {})
{
    QProcess process;
    process.setWorkingDirectory(bank.dir());
    process.start(bank.path(QStringLiteral("update")), args);
    process.write(input.toUtf8());
    process.closeWriteChannel();
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.code = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace updaterun

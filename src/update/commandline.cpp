#include "update/commandline.h"

#include "db/connection.h"
#include "sheet/sheetexport.h"
#include "update/servertool.h"
#include "update/updatejob.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace update {

namespace {

const QString kMerge = u"--merge"_s;
const QString kOnline = u"--online"_s;
const QString kImport = u"--import"_s;
const QString kExport = u"--export"_s;

// What exambank would have said about main.ini at start-up goes to err, before the work.
void reportConfig(const UpdateJob &job, QTextStream &err)
{
    for (const QString &line : job.configErrors())
        err << line << '\n';
    err.flush();
}

int finish(const UpdateJob::Outcome &outcome, bool local, QTextStream &out, QTextStream &err)
{
    for (const QString &line : outcome.report)
        out << line << '\n';
    const bool failed = outcome.result == UpdateJob::Result::Failed || outcome.result == UpdateJob::Result::Offline;
    if (failed)
        err << outcome.message << '\n';
    else if (!outcome.message.isEmpty() && outcome.result != UpdateJob::Result::Merged)
        out << outcome.message << '\n';
    const QString result = UpdateJob::resultText(outcome, local);
    if (!result.isEmpty())
        out << result << '\n';
    out.flush();
    err.flush();
    return failed ? 1 : 0;
}

// A refused sheet's problems are the reason of the failure: they go to err with it.
int finishImport(const UpdateJob::Outcome &outcome, QTextStream &out, QTextStream &err)
{
    if (outcome.result == UpdateJob::Result::Merged)
        return finish(outcome, true, out, err);
    err << outcome.message << '\n';
    for (const QString &line : outcome.report)
        err << line << '\n';
    err.flush();
    out << UpdateJob::resultText(outcome, true) << '\n';
    out.flush();
    return 1;
}

int exportSheet(const AppPaths &paths, const QString &file, const QString &course, QTextStream &out,
                QTextStream &err)
{
    const QString connection = u"update-export"_s;
    QString error;
    sheet::SheetExport sheet;
    bool ok = db::openConfigured(paths, connection, &error);
    if (ok) {
        ok = sheet::exportSheet(db::bank(connection), course, &sheet, &error);
        db::closeBank(connection);
    }
    if (ok) {
        QSaveFile target(file);
        ok = target.open(QIODevice::WriteOnly) && target.write(sheet.bytes) == sheet.bytes.size() && target.commit();
        if (!ok)
            error = u"无法写入 %1: %2"_s.arg(QDir::toNativeSeparators(file), target.errorString());
    }
    if (!ok) {
        err << error << '\n';
        err.flush();
        return 1;
    }
    out << u"已导出%1道题目到 %2"_s.arg(sheet.questions).arg(QDir::toNativeSeparators(file)) << '\n';
    out.flush();
    return 0;
}

} // namespace

bool isCommandLine(const QStringList &args)
{
    return !args.isEmpty() && args.first().startsWith(u"--"_s);
}

int runCommandLine(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err)
{
    const QString command = args.value(0);
    if (command == kMerge && args.size() == 2) {
        UpdateJob job(paths);
        reportConfig(job, err);
        return finish(job.runLocal(QFileInfo(args.at(1)).absoluteFilePath()), true, out, err);
    }
    if (command == kOnline && args.size() == 3) {
        UpdateJob job(paths);
        reportConfig(job, err);
        QString lastDate = args.at(2);
        return finish(job.runOnline(args.at(1), lastDate), false, out, err);
    }
    if (command == kImport && args.size() == 2) {
        UpdateJob job(paths);
        reportConfig(job, err);
        return finishImport(job.runImport(QFileInfo(args.at(1)).absoluteFilePath()), out, err);
    }
    if (command == kExport && (args.size() == 2 || args.size() == 3))
        return exportSheet(paths, QFileInfo(args.at(1)).absoluteFilePath(), args.value(2), out, err);
    if (isServerCommand(args)) {
        if (const int code = runServerCommand(args, paths, out, err); code >= 0)
            return code;
    }
    const QString usage = u"usage: update --merge FILE\n"
                          "       update --online ADDRESS LASTDATE\n"
                          "       update --import FILE.csv\n"
                          "       update --export FILE.csv [COURSE]\n"_s
                        + serverUsage();
    if (command == u"--help"_s && args.size() == 1) {
        out << usage;
        out.flush();
        return 0;
    }
    err << usage;
    err.flush();
    return 2;
}

} // namespace update

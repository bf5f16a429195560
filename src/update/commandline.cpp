#include "update/commandline.h"

#include "update/updatejob.h"

#include <QFileInfo>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace update {

namespace {

const QString kMerge = u"--merge"_s;
const QString kOnline = u"--online"_s;

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
    err << "usage: update --merge FILE\n"
           "       update --online ADDRESS LASTDATE\n";
    err.flush();
    return 2;
}

} // namespace update

#include "update/updaterlauncher.h"

#include <QDir>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace update {

namespace {
ProcessStarterOverride::Starter &starter()
{
    static ProcessStarterOverride::Starter s;
    return s;
}
} // namespace

QString updaterProgram(const AppPaths &paths)
{
    return paths.updaterProgram();
}

bool startUpdater(const AppPaths &paths, const QString &address, const QString &lastDate, QString *error)
{
    const QString program = updaterProgram(paths);
    // Separate arguments: a blank inside a value cannot shift the second one.
    const QStringList args{address, lastDate};
    const bool started = starter() ? starter()(program, args) : QProcess::startDetached(program, args);
    if (!started && error)
        *error = u"升级程序 %1 无法启动."_s.arg(QDir::toNativeSeparators(program));
    return started;
}

ProcessStarterOverride::ProcessStarterOverride(Starter s)
    : m_previous(std::move(starter()))
{
    starter() = std::move(s);
}

ProcessStarterOverride::~ProcessStarterOverride()
{
    starter() = std::move(m_previous);
}

} // namespace update

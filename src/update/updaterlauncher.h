#pragma once

#include "shell/apppaths.h"

#include <QString>
#include <QStringList>

#include <functional>

// Starts the updater program of this installation with its two arguments, the update address and the
// date of the last update, and does not wait for it.
namespace update {

QString updaterProgram(const AppPaths &paths);

// False with a reason when the program could not be started.
bool startUpdater(const AppPaths &paths, const QString &address, const QString &lastDate, QString *error);

// Test seam: while an instance lives, programs are handed to it instead of being started.
class ProcessStarterOverride final
{
public:
    using Starter = std::function<bool(const QString &program, const QStringList &args)>;
    explicit ProcessStarterOverride(Starter starter);
    ~ProcessStarterOverride();
    Q_DISABLE_COPY_MOVE(ProcessStarterOverride)

private:
    Starter m_previous;
};

} // namespace update

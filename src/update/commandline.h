#pragma once

#include "shell/apppaths.h"

#include <QStringList>

class QTextStream;

// The updater without a window, for administrators who update machines by script:
//   update --merge FILE                  merges a question bank file into data/sys.htm
//   update --online ADDRESS LASTDATE     the online update from ADDRESS
// Messages and the report go to out, the reason of a failure to err. Exit code 0 on success or
// when there is nothing to update, 1 on a failure, 2 on wrong arguments.
namespace update {

// True when the arguments (without the program name) ask for the command-line mode.
bool isCommandLine(const QStringList &args);

int runCommandLine(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err);

} // namespace update

#pragma once

#include "shell/apppaths.h"

#include <QStringList>

class QTextStream;

// The updater without a window, for administrators who update machines by script:
//   update --merge FILE                  merges a question bank file into data/sys.htm
//   update --online ADDRESS LASTDATE     the online update from ADDRESS
//   update --import FILE.csv             merges a question sheet into data/sys.htm
//   update --export FILE.csv [COURSE]    writes the bank, or one course (key or name), as a sheet
//   update --help                        the usage on standard output
// and the training centre's server commands of update/servertool.h.
// Messages and the report go to out, the reason of a failure to err. Exit code 0 on success or
// when there is nothing to update, 1 on a failure, 2 on wrong arguments.
namespace update {

// True when the arguments (without the program name) ask for the command-line mode.
bool isCommandLine(const QStringList &args);

int runCommandLine(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err);

} // namespace update

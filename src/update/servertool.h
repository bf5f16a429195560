#pragma once

#include "shell/apppaths.h"

#include <QStringList>

class QTextStream;

// The training centre's server from the updater's command line:
//   update --server-config HOST PORT DATABASE [USER]   writes main.ini's [server]; with USER the
//                                                      maintenance password is read from stdin
//   update --server-init                               creates or upgrades the layout on the server
//   update --add-learner NAME                          adds a learner (password from stdin) or sets
//                                                      an existing learner's new password
//   update --list-learners                             the learners, one a line
//   update --report FILE.csv                           every learner's sessions for a spreadsheet
// Passwords come from standard input, one line, so that they never show in the process list.
namespace update {

// Whether args name one of the commands above.
bool isServerCommand(const QStringList &args);

// Runs it: results to out, the reason of a failure to err. 0 on success, 1 on a failure (no server
// in main.ini, the server unreachable or refusing, a name refused), -1 when the arguments do not
// fit the command (nothing done; the caller shows the usage).
int runServerCommand(const QStringList &args, const AppPaths &paths, QTextStream &out, QTextStream &err);

// The usage lines of these commands.
QString serverUsage();

} // namespace update

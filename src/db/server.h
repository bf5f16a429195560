#pragma once

#include "shell/apppaths.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The training centre's server mode: the bank on PostgreSQL. Content tables live in one shared
// schema; each learner has a login role and a schema of his own (named as the role) holding his
// session tables, selected per connection through search_path, so every statement of the programs
// runs unchanged. The server's grants, not the program, keep a learner to his own records.
namespace db {

inline constexpr auto kContentSchema = "qm_content";
// The group role every learner role belongs to: it may read the content tables.
inline constexpr auto kLearnerGroup = "qm_learner";

// [server] of main.ini. An empty host means no server: the SQLite file data/sys.htm as before.
// The host may also be the folder of the server's Unix socket.
struct ServerConfig
{
    QString host;
    int port = 5432;
    QString database;
    // The centre's maintenance account, used by the updater and the schema tool; the password is
    // stored hex-XOR encoded as main.ini's other secrets.
    QString user;
    QString password;

    bool configured() const { return !host.trimmed().isEmpty(); }
};

// Reads [server]; a malformed port or password is reported in error and the server left off.
ServerConfig readServerConfig(const AppPaths &paths, QString *error = nullptr);
// Writes [server], every other line of main.ini kept.
bool writeServerConfig(const AppPaths &paths, const ServerConfig &config, QString *error);

enum class ServerRole {
    Learner,    // the learner's own schema first, then the content
    Maintainer, // the content schema only
};

// Opens a connection to the server as user. A learner connection fails with a clear reason when
// the name cannot be a learner's, when the password is empty (the client library would then look
// for one in ~/.pgpass or PGPASSWORD) and when the learner has no schema on this database.
bool openServer(const ServerConfig &config, const QString &user, const QString &password, ServerRole role,
                const QString &connectionName, QString *error);

// "name" as an SQL identifier.
QString quoteIdentifier(const QString &name);

// Why a learner name cannot be used (empty when it can): role and schema take the name as it is.
QString learnerNameProblem(const QString &name);

// The schema tool's work, on a maintainer connection; each throws db::Error and is idempotent.
// Creates or upgrades the content schema, the learner group and every learner's schema.
void initServer(const QSqlDatabase &db);
// Throws db::Error saying so unless initServer() has made the layout on this database.
void requireInitialised(const QSqlDatabase &db);
// Adds a learner (role, schema, tables, grants); for an existing learner, sets the password.
void addLearner(const QSqlDatabase &db, const QString &name, const QString &password);
// Learners of this database, by name.
QStringList learners(const QSqlDatabase &db);

// Every learner's sessions as CSV rows (learner, date, kind, right, wrong, score), header first.
QList<QStringList> sessionReport(const QSqlDatabase &db);

} // namespace db

#pragma once

#include "db/server.h"

#include <QString>

// A throw-away PostgreSQL cluster of the test process's own: initdb in a temporary folder, the
// server listening only on a Unix socket there, stopped and removed when the process ends (also
// when it dies: a watcher process stops it). PostgreSQL refuses to run as root, so under root the
// cluster runs as the postgres system user of Debian's package. QM_PG_OPTIONS adds server options;
// QM_PG_LOG names a file the server's log is copied to at the end.
class PgCluster final
{
public:
    // The process's cluster, started on first use; the test stops with the reason if it cannot.
    static PgCluster &instance();

    QString socketDir() const { return m_dir; }
    int port() const { return 5432; }
    // The cluster's superuser; it logs in over the socket without a password. Every other role
    // needs its password (scram-sha-256).
    static QString admin() { return QStringLiteral("qm_admin"); }

    // A new empty database (UTF-8); its name.
    QString createDatabase();
    // main.ini's [server] for a database, as the maintenance account.
    db::ServerConfig config(const QString &database) const;

    ~PgCluster();

private:
    PgCluster();
    bool run(const QString &program, const QStringList &args, QString *output) const;

    QString m_dir;
    QString m_bin;
    bool m_asPostgres = false;
    int m_databases = 0;
};

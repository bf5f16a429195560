#include "support/pgcluster.h"

#include "db/connection.h"
#include "db/sql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The newest server version Debian's packages put under /usr/lib/postgresql.
QString serverBin()
{
    QDir versions(u"/usr/lib/postgresql"_s);
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &v : std::as_const(found)) {
        const QString bin = versions.filePath(v + u"/bin"_s);
        if (QFile::exists(bin + u"/initdb"_s))
            return bin;
    }
    return {};
}

} // namespace

PgCluster &PgCluster::instance()
{
    static PgCluster cluster;
    return cluster;
}

bool PgCluster::run(const QString &program, const QStringList &args, QString *output) const
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asPostgres)
        p.start(u"runuser"_s, QStringList{u"-u"_s, u"postgres"_s, u"--"_s, program} + args);
    else
        p.start(program, args);
    const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return ok;
}

PgCluster::PgCluster()
{
    m_bin = serverBin();
    if (m_bin.isEmpty())
        qFatal("PostgreSQL server not found under /usr/lib/postgresql (Debian package postgresql; ./dev installs it)");
    m_asPostgres = geteuid() == 0;
    // Short: a socket path may not be longer than 107 bytes.
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/qm-pg-XXXXXX";
    if (!mkdtemp(pattern.data()))
        qFatal("cannot make a folder for the test cluster");
    m_dir = QString::fromLocal8Bit(pattern);
    if (m_asPostgres) {
        const passwd *pw = getpwnam("postgres");
        if (!pw || chown(pattern.constData(), pw->pw_uid, pw->pw_gid) != 0)
            qFatal("the postgres system user is missing; PostgreSQL does not run as root");
    }
    const QString data = m_dir + u"/data"_s;
    QString out;
    if (!run(m_bin + u"/initdb"_s,
             {u"-D"_s, data, u"-U"_s, admin(), u"-E"_s, u"UTF8"_s, u"--locale=C"_s, u"-N"_s, u"-A"_s, u"trust"_s},
             &out))
        qFatal("initdb failed: %s", qPrintable(out));
    // The superuser over the socket without a password, every learner with his.
    QFile hba(data + u"/pg_hba.conf"_s);
    if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write pg_hba.conf");
    hba.write("local all qm_admin trust\nlocal all all scram-sha-256\n");
    hba.close();
    const QString options = u"-c listen_addresses='' -c unix_socket_directories='%1' -c fsync=off "
                            "-c full_page_writes=off -c synchronous_commit=off -c max_connections=260 "_s.arg(m_dir) +
                            qEnvironmentVariable("QM_PG_OPTIONS");
    if (!run(m_bin + u"/pg_ctl"_s, {u"-D"_s, data, u"-l"_s, m_dir + u"/log"_s, u"-o"_s, options, u"-w"_s, u"start"_s},
             &out))
        qFatal("the test cluster did not start: %s", qPrintable(out));
    // Should this process die without its destructors, the watcher stops the server and removes
    // the folder.
    const QString stop = (m_asPostgres ? u"runuser -u postgres -- "_s : QString()) + m_bin +
                         u"/pg_ctl -D '%1' -m immediate stop"_s.arg(data);
    QProcess::startDetached(u"sh"_s, {u"-c"_s, u"while kill -0 %1 2>/dev/null; do sleep 1; done; %2 >/dev/null 2>&1;"
                                              " rm -rf '%3'"_s.arg(QCoreApplication::applicationPid())
                                                  .arg(stop, m_dir)},
                            QString(), nullptr);
}

PgCluster::~PgCluster()
{
    // For a look at what the server did (e.g. QM_PG_OPTIONS="-c log_min_duration_statement=20").
    if (const QString keep = qEnvironmentVariable("QM_PG_LOG"); !keep.isEmpty())
        QFile::copy(m_dir + u"/log"_s, keep);
    run(m_bin + u"/pg_ctl"_s, {u"-D"_s, m_dir + u"/data"_s, u"-m"_s, u"immediate"_s, u"stop"_s}, nullptr);
    QDir(m_dir).removeRecursively();
}

QString PgCluster::createDatabase()
{
    const QString name = u"qm_test_%1"_s.arg(++m_databases);
    const QString connection = u"pgcluster-admin"_s;
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(u"QPSQL"_s, connection);
        admin.setHostName(m_dir);
        admin.setPort(port());
        admin.setDatabaseName(u"postgres"_s);
        admin.setUserName(PgCluster::admin());
        if (!admin.open())
            qFatal("cannot reach the test cluster: %s", qPrintable(admin.lastError().text()));
        db::run(admin, u"CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'"_s.arg(name));
        admin.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return name;
}

db::ServerConfig PgCluster::config(const QString &database) const
{
    db::ServerConfig c;
    c.host = m_dir;
    c.port = port();
    c.database = database;
    c.user = admin();
    return c;
}

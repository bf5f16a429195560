#include "demobank.h"

#include "bankrows.h"
#include "db/schema.h"
#include "db/sql.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace demobank {

namespace {

constexpr auto kConnection = "qm_assets_bank";

bool readJson(const QString &path, QJsonObject *out, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"%1: %2"_s.arg(path, file.errorString());
        return false;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        *error = u"%1: %2 at offset %3"_s.arg(path, parse.errorString()).arg(parse.offset);
        return false;
    }
    *out = doc.object();
    return true;
}

void insertAll(const QSqlDatabase &database, const QString &table, const QList<QVariantList> &rows)
{
    const QStringList cols = db::columns(table);
    QStringList marks;
    for (qsizetype i = 0; i < cols.size(); ++i)
        marks << u"?"_s;
    const QString sql = u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, cols.join(u','), marks.join(u','));
    for (const QVariantList &row : rows) {
        if (row.size() != cols.size())
            throw db::Error(u"%1: %2 values for %3 columns"_s.arg(table).arg(row.size()).arg(cols.size()));
        db::run(database, sql, row);
    }
}

void removeBank(const QString &path)
{
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s, u"-journal"_s})
        QFile::remove(path + suffix);
}

bool writeBank(const QString &path, const BankRows &rows, QString *error)
{
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, QString::fromLatin1(kConnection));
        database.setDatabaseName(path);
        if (!database.open()) {
            *error = database.lastError().text();
        } else {
            try {
                db::Transaction tx(database);
                QStringList tables = db::contentTables();
                tables << u"user_logon"_s;
                for (const QString &table : tables)
                    db::run(database, db::createStatement(table));
                for (auto it = rows.tables.cbegin(); it != rows.tables.cend(); ++it)
                    insertAll(database, it.key(), it.value());
                tx.commit();
                db::ensureSchema(database);
                ok = true;
            } catch (const db::Error &e) {
                *error = e.message();
            }
            database.close();
        }
    }
    QSqlDatabase::removeDatabase(QString::fromLatin1(kConnection));
    return ok;
}

} // namespace

bool build(const QString &sourceDir, const QString &outFile, QString *error)
{
    const QDir dir(sourceDir);
    const QStringList files = dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        *error = u"no *.json in "_s + sourceDir;
        return false;
    }
    BankRows rows;
    for (const QString &name : files) {
        QJsonObject object;
        if (!readJson(dir.filePath(name), &object, error))
            return false;
        const bool added = object.contains(u"course"_s) ? rows.addCourse(object, error) : rows.addContent(object, error);
        if (!added) {
            error->prepend(name + u": "_s);
            return false;
        }
    }

    if (!QDir().mkpath(QFileInfo(outFile).absolutePath())) {
        *error = u"cannot create the folder of "_s + outFile;
        return false;
    }
    const QString part = outFile + u".part"_s;
    removeBank(part);
    if (!writeBank(part, rows, error)) {
        removeBank(part);
        return false;
    }
    removeBank(outFile);
    if (!QFile::rename(part, outFile)) {
        *error = u"cannot rename %1"_s.arg(part);
        return false;
    }
    return true;
}

} // namespace demobank

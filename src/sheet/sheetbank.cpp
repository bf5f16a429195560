#include "sheet/sheetbank.h"

#include "db/schema.h"
#include "db/sql.h"
#include "sheet/sheetimport.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

constexpr auto kConnection = "sheet-bank";

void insertRows(const QSqlDatabase &db, const QString &table, const QList<QVariantList> &rows)
{
    const qsizetype width = db::columns(table).size();
    QStringList marks(width, u"?"_s);
    QSqlQuery q(db);
    if (!q.prepare(u"INSERT INTO %1 VALUES (%2)"_s.arg(table, marks.join(u','))))
        throw db::Error(q.lastError().text());
    for (const QVariantList &row : rows) {
        for (qsizetype k = 0; k < width; ++k)
            q.bindValue(int(k), row.value(k));
        if (!q.exec())
            throw db::Error(table + u": "_s + q.lastError().text());
    }
}

} // namespace

bool writeSheetBank(const SheetRows &rows, const QString &path, QString *error)
{
    if (QFileInfo::exists(path)) {
        *error = u"文件已存在: "_s + path;
        return false;
    }
    const QString name = QString::fromLatin1(kConnection);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            try {
                // A scratch file: if the program dies it is simply thrown away.
                db::run(db, u"PRAGMA journal_mode=OFF"_s);
                db::run(db, u"PRAGMA synchronous=OFF"_s);
                db::Transaction tx(db);
                // Rows first, indexes after: building an index once is cheaper than keeping it up to date.
                for (const QString &table : db::contentTables())
                    db::run(db, db::createStatement(table));
                insertRows(db, u"ma_id"_s, rows.courses);
                insertRows(db, u"cap_id"_s, rows.chapters);
                insertRows(db, u"ex_page_id"_s, rows.questions);
                insertRows(db, u"ex_sub"_s, rows.subs);
                db::ensureSchema(db);
                tx.commit();
                ok = true;
            } catch (const db::Error &e) {
                *error = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace sheet

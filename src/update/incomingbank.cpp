#include "update/incomingbank.h"

#include "update/mergeplan.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace update {

bool openIncomingBank(const QString &path, const QString &connectionName, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    QString reason;
    if (!info.isFile() || !info.isReadable()) {
        reason = u"题库文件不存在或无法读取: "_s + shown;
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
        db.setDatabaseName(info.absoluteFilePath());
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        if (!db.open()) {
            reason = u"无法打开题库文件 %1: %2"_s.arg(shown, db.lastError().text());
        } else if (QSqlQuery probe(db); !probe.exec(u"SELECT COUNT(*) FROM sqlite_master"_s)) {
            // The first read tells whether this is an SQLite file at all.
            reason = u"不是有效的题库文件: %1 (%2)"_s.arg(shown, probe.lastError().text());
        } else {
            const QStringList tables = db.tables(QSql::Tables);
            for (const MergeTable &t : mergePlan()) {
                if (!tables.contains(t.name, Qt::CaseInsensitive)) {
                    reason = u"不是有效的题库文件: %1 (缺少数据表 %2)"_s.arg(shown, t.name);
                    break;
                }
            }
        }
        if (!reason.isEmpty())
            db.close();
    }
    if (reason.isEmpty())
        return true;
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    if (error)
        *error = reason;
    return false;
}

} // namespace update

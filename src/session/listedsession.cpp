#include "session/listedsession.h"

#include "db/sessionstore.h"
#include "db/sql.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace session {

TargetedBuild buildListedSession(const QSqlDatabase &db, Clock &clock, const QStringList &pIds)
{
    TargetedBuild result;
    db::Transaction tx(db);
    QList<db::AnswerRecord> records;
    QSet<QString> seen;
    QSqlQuery score(db);
    if (!score.prepare(u"select p_score from ex_page_id where p_id=?"_s))
        throw db::Error(u"数据库语句出错"_s);
    for (const QString &pId : pIds) {
        if (seen.contains(pId))
            continue;
        seen.insert(pId);
        score.addBindValue(pId);
        if (!score.exec())
            throw db::Error(u"数据库语句出错"_s);
        if (!score.next())
            continue;
        records.append({pId, score.value(0).toDouble(), QVariant(), u""_s, false, false});
    }
    if (records.isEmpty())
        return result;
    db::clearTmp(db);
    const QString pageId = db::newPageId(db, clock);
    db::appendAnswerRecords(db, pageId, records);
    db::copyForPractice(db, pageId);
    tx.commit();
    result.pageId = pageId;
    result.questionTotal = int(records.size());
    return result;
}

} // namespace session

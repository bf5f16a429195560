// Opening the bank, the schema check and the shared session statements.
#include "bench.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sessionstore.h"
#include "db/sql.h"
#include "shell/clock.h"

using namespace Qt::StringLiterals;

QM_BENCH_CASE("database: open and shared statements")
{
    bench::measure(u"open the bank (schema check included)"_s, 9, [&] {
        QString error;
        if (!db::openBank(ctx.largeBank, u"bench-open"_s, &error))
            qFatal("%s", qPrintable(error));
        db::closeBank(u"bench-open"_s);
    });
    bench::measure(u"schema check on an open bank"_s, 9, [&] { db::ensureSchema(ctx.db); });

    const QString chapter = db::scalar(ctx.db, u"select c_id from cap_id where m_type='1' limit 1"_s).toString();
    bench::measure(u"select first 200 of each type 1-3 of a chapter into tmp_id"_s, 9, [&] {
        db::Transaction tx(ctx.db);
        db::clearTmpId(ctx.db);
        for (int type = 1; type <= 3; ++type)
            db::selectFirstOfType(ctx.db, chapter, type, 200);
        db::listSelection(ctx.db);
        tx.commit();
    });

    // A session of 1,000 questions from one chapter, records and practice copy.
    FakeClock clock(QDateTime(QDate(2030, 1, 1), QTime(0, 0)));
    QList<db::AnswerRecord> records;
    {
        QSqlQuery q = db::run(ctx.db, u"select p_id,p_score,p_type from ex_page_id where c_id=?"_s, {chapter});
        while (q.next())
            records.append({q.value(0).toString(), q.value(1).toDouble(), q.value(2).toInt(), {}, false, false});
    }
    bench::measure(u"answer records + practice copy of %1 questions"_s.arg(records.size()), 9, [&] {
        db::Transaction tx(ctx.db);
        const QString pageId = db::newPageId(ctx.db, clock);
        db::clearTmp(ctx.db);
        db::appendAnswerRecords(ctx.db, pageId, records);
        db::copyForPractice(ctx.db, pageId);
        // rolled back, so that the large bank stays the same between runs
    });
}

// Mock exam: fixed and random paper builds and one answer-card rebuild of a 62-question paper.
#include "bench.h"

#include "db/sql.h"
#include "exam/answercard.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

QM_BENCH_CASE("exam: paper builds and answer card")
{
    FakeClock clock(QDateTime(QDate(2031, 1, 1), QTime(0, 0)));
    QRandomGenerator rng(42);

    const QString fixedPaper = db::scalar(ctx.db, u"select c_id from cap_id where m_type='2' limit 1"_s).toString();
    const int paperSize = db::scalar(ctx.db, u"select count(*) from ex_page_id where c_id=?"_s, {fixedPaper}).toInt();
    QString courseId, courseName;
    {
        QSqlQuery q = db::run(ctx.db, u"select m_id,m_name from ma_id"_s);
        while (q.next()) {
            if (q.value(1).toString().contains(u"基础"_s)) {
                courseId = q.value(0).toString();
                courseName = q.value(1).toString();
                break;
            }
        }
    }
    const int pool = db::scalar(ctx.db,
                                u"select count(*) from ex_page_id where c_id in(select c_id from cap_id where m_type='2' "
                                "and m_id=?)"_s,
                                {courseId})
                         .toInt();

    // Every build is rolled back so that the large bank stays the same between runs.
    bench::measure(u"fixed paper build (%1 questions)"_s.arg(paperSize), 9, [&] {
        db::Transaction tx(ctx.db);
        paper::buildFixed(ctx.db, clock, fixedPaper);
    });
    int drawn = 0;
    bench::measure(u"random paper build (pool of %1 questions)"_s.arg(pool), 9, [&] {
        db::Transaction tx(ctx.db);
        drawn = paper::buildRandom(ctx.db, clock, courseId, courseName, rng).questionTotal;
    });

    db::Transaction tx(ctx.db);
    const paper::Built built = paper::buildRandom(ctx.db, clock, courseId, courseName, rng);
    int nodes = 0;
    bench::measure(u"answer-card rebuild (%1-question paper, no painting)"_s.arg(built.questionTotal), 25, [&] {
        nodes = exam::AnswerCard::build(ctx.db, built.pageId).size();
    });
    bench::note(u"random paper: %1 questions, card: %2 nodes; targets: builds < 100 ms, card < 16 ms"_s.arg(drawn).arg(nodes));
}

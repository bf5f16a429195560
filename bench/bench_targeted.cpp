// Targeted practice on the large bank: each selection as the panel runs it (tmp_id filled and
// counted per type) and each session build. "Today" is the day of the newest answer record, so the
// periods hold records. Sessions built here are removed again at the end.
#include "bench.h"

#include "db/sessionstore.h"
#include "db/sql.h"
#include "session/targetedsession.h"
#include "shell/clock.h"

using namespace Qt::StringLiterals;
using session::TargetedMode;
using session::WrongPeriod;

namespace {

struct Case
{
    QString name;
    session::TargetedQuery query;
};

} // namespace

QM_BENCH_CASE("targeted: selections and builds")
{
    const QSqlDatabase &db = ctx.db;
    const QString course = db::scalar(db, u"select m_id from ma_id order by m_id limit 1"_s).toString();
    const QString newest = db::scalar(db, u"select max(page_id) from test_page"_s).toString();
    const QDate today = QDate::fromString(newest.left(8), u"yyyyMMdd"_s);
    FakeClock clock(QDateTime(today.addDays(1), QTime(0, 0)));

    const auto query = [&](TargetedMode mode, WrongPeriod period = WrongPeriod::Today, const QString &text = {}) {
        session::TargetedQuery q;
        q.mode = mode;
        q.courseId = course;
        q.today = today;
        q.period = period;
        q.searchText = text;
        return q;
    };
    const QList<Case> cases = {
        {u"essence"_s, query(TargetedMode::Essence)},
        {u"search, a few stems (\"第123\")"_s, query(TargetedMode::Search, {}, u"第123"_s)},
        {u"search, every stem (\"会计要素\")"_s, query(TargetedMode::Search, {}, u"会计要素"_s)},
        {u"wrong, today"_s, query(TargetedMode::Wrong, WrongPeriod::Today)},
        {u"wrong, last week"_s, query(TargetedMode::Wrong, WrongPeriod::LastWeek)},
        {u"wrong, last month"_s, query(TargetedMode::Wrong, WrongPeriod::LastMonth)},
        {u"wrong, all"_s, query(TargetedMode::Wrong, WrongPeriod::All)},
    };

    QStringList built;
    double worstSelection = 0;
    double worstBuild = 0;
    for (const Case &c : cases) {
        int found = 0;
        const double select =
            bench::measureBoth(u"selection: %1"_s.arg(c.name), 9, [&] { found = session::storeSelection(db, c.query).total; });
        worstSelection = qMax(worstSelection, select);
        // A practice set of at most 1,000 questions, as a learner would take it.
        const int howMany = qMin(found, 1000);
        const double build = bench::measureBoth(u"build of %1 of %2 found: %3"_s.arg(howMany).arg(found).arg(c.name), 9, [&] {
            clock.advance(1000);
            built << session::buildTargetedSession(db, clock, c.query, howMany).pageId;
        });
        worstBuild = qMax(worstBuild, build);
    }

    db::Transaction tx(db);
    for (const QString &id : built)
        db::run(db, u"delete from test_page where page_id=?"_s, {id});
    db::clearTmp(db);
    db::clearTmpId(db);
    tx.commit();

    bench::note(u"targets (cpu medians): every selection < 100 ms (%1), every build < 100 ms (%2)"_s.arg(
        worstSelection < 100 ? u"met"_s : u"MISSED"_s, worstBuild < 100 ? u"met"_s : u"MISSED"_s));
}

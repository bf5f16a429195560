// Chapter practice: the session build, one practice move and the finishing totals on a chapter of
// 1,000 questions of the large bank. Sessions are written for real (commits included) and removed
// again at the end, so that the bank stays the same between runs.
#include "bench.h"

#include "db/sessionstore.h"
#include "db/sql.h"
#include "practice/practicesession.h"
#include "practice/practicetotals.h"
#include "session/chaptersession.h"
#include "shell/clock.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

void removeSessions(const QSqlDatabase &db, const QStringList &pageIds)
{
    db::Transaction tx(db);
    for (const QString &id : pageIds) {
        db::run(db, u"delete from test_page where page_id=?"_s, {id});
        db::run(db, u"delete from page_total where page_id=?"_s, {id});
    }
    db::clearTmp(db);
    db::clearTmpId(db);
    tx.commit();
}

} // namespace

QM_BENCH_CASE("practice: chapter session, moves and totals")
{
    const QSqlDatabase &db = ctx.db;
    const QString chapter = db::scalar(db, u"select c_id from cap_id where m_type='1' limit 1"_s).toString();
    const int questions = db::scalar(db, u"select count(*) from ex_page_id where c_id=?"_s, {chapter}).toInt();
    FakeClock clock(QDateTime(QDate(2035, 1, 1), QTime(0, 0)));
    QRandomGenerator rng(42);
    QStringList built;
    session::BuildRequest request{chapter, {questions, questions, questions, questions}, true};

    const double build =
        bench::measure(u"chapter session build of %1 questions (random order)"_s.arg(questions), 9, [&] {
            clock.advance(1000);
            built << session::buildChapterSession(db, clock, request, rng).pageId;
        });

    // One practice move as the window makes it: record the answer, move on, refresh the display data.
    practice::PracticeSession s(db);
    s.open(practice::QuestionSet::Session, built.last());
    practice::AnswerInput choice;
    choice.boxes[0] = true;
    practice::AnswerInput calculation;
    calculation.editor.lines[0][0] = {true, practice::Direction::Debit, u"银行存款"_s, u"1000"_s};
    const double move =
        bench::measure(u"one practice move (check + move + refresh) over %1 rows"_s.arg(s.count()), 201, [&] {
            s.check(s.current()->typeCode() == 4 ? calculation : choice);
            if (s.atLast())
                s.setIndex(0);
            else
                s.next();
            s.reloadRecord();
            s.numberWithinType();
            if (s.current()->typeCode() == 4)
                s.editorContent();
        });

    const double totals = bench::measure(u"finishing totals (compute + store page_total)"_s, 21, [&] {
        const practice::PracticeTotals t = practice::computeTotals(db, built.last());
        practice::storeTotals(db, built.last(), t, u"12分30秒"_s, u"章节练习"_s);
    });
    removeSessions(db, built);

    bench::note(u"targets: build < 100 ms (%1), move < 16 ms (%2), totals < 16 ms (%3)"_s.arg(
        build < 100 ? u"met"_s : u"MISSED"_s, move < 16 ? u"met"_s : u"MISSED"_s,
        totals < 16 ? u"met"_s : u"MISSED"_s));
}

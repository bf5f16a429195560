// The learning aids on the large bank: the study report of one course (a quarter of the bank,
// about 250,000 answer records), the review schedule over every course and over one, a weak
// chapter's practice set, and the questions whose key changed.
#include "bench.h"

#include "db/sql.h"
#include "records/changedquestions.h"
#include "records/reviewschedule.h"
#include "records/studyreport.h"

using namespace Qt::StringLiterals;

QM_BENCH_CASE("aids: study report, review schedule, changed questions")
{
    const QSqlDatabase &db = ctx.db;
    const QString course = db::scalar(db, u"select m_id from ma_id order by m_id limit 1"_s).toString();
    const QString chapter =
        db::scalar(db, u"select c_id from cap_id where m_id=? and m_type='1' order by c_id limit 1"_s, {course})
            .toString();
    const QString newest = db::scalar(db, u"select max(page_id) from test_page"_s).toString();
    const QDate today = QDate::fromString(newest.left(8), u"yyyyMMdd"_s).addDays(1);

    // Keys changed by an update for every hundredth question of the course.
    const QString changedAt = newest.left(8) + u"235959"_s;
    db::run(db, u"delete from qm_changed where changed_at=?"_s, {changedAt});
    db::run(db,
            u"insert into qm_changed (p_id,m_id,what,changed_at,told) select b.p_id,'','key',?,0 from ex_page_id b"
            " join cap_id c on c.c_id=b.c_id where c.m_id=? and b.rowid%100=0"_s,
            {changedAt, course});

    records::StudyReport report;
    const double reportMs =
        bench::measureBoth(u"study report of one course"_s, 9, [&] { report = records::buildStudyReport(db, course); });
    bench::note(u"  %1 answers, %2 chapters, %3 types"_s.arg(report.answers)
                    .arg(report.chapters.size())
                    .arg(report.types.size()));
    int due = 0;
    const double countsMs = bench::measureBoth(u"review schedule: due today, every course"_s, 7, [&] {
        due = 0;
        for (const records::CourseDue &d : records::dueCounts(db, today))
            due += d.due;
    });
    bench::note(u"  %1 questions due"_s.arg(due));
    const double courseDueMs = bench::measureBoth(u"review schedule: due today, one course"_s, 7,
                                           [&] { due = int(records::dueQuestions(db, course, today).size()); });
    int weak = 0;
    bench::measureBoth(u"weak questions of one chapter"_s, 9, [&] { weak = int(records::weakQuestions(db, chapter).size()); });
    bench::note(u"  %1 weak questions"_s.arg(weak));
    int changed = 0;
    bench::measureBoth(u"questions answered before their key changed"_s, 9,
                [&] { changed = int(records::answeredChanged(db, course).size()); });
    bench::note(u"  %1 of %2 changed"_s.arg(changed).arg(
        db::scalar(db, u"select count(*) from qm_changed where changed_at=?"_s, {changedAt}).toInt()));

    db::run(db, u"delete from qm_changed where changed_at=?"_s, {changedAt});
    bench::note(u"targets (cpu medians): study report < 100 ms (%1); with the due counts and list %2 ms"_s.arg(
        reportMs < 100 ? u"met"_s : u"MISSED"_s, QString::number(reportMs + countsMs + courseDueMs, 'f', 1)));
}

// Training-centre load: many learners, each on a connection of his own, practising and sitting
// exams at once against a local PostgreSQL server (a throw-away cluster of this run). Every
// action's latency is collected; p50 and p95 per action are printed, and every failed write counted.
#include "bench.h"
#include "synthbank.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/server.h"
#include "db/sql.h"
#include "exam/handin.h"
#include "practice/practicesession.h"
#include "practice/practicetotals.h"
#include "session/chaptersession.h"
#include "session/papersession.h"
#include "shell/clock.h"
#include "support/pgcluster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>

#include <chrono>
#include <ctime>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

struct Timings
{
    QList<double> chapterBuild, move, practiceTotals, paperBuild, handIn;
    // A learner's first builds on his new connection, while the server loads its catalogue for
    // it; counted apart.
    QList<double> firstBuild;
    // CPU time of the learner's own thread (the program's side) in all actions.
    double clientCpuMs = 0;
    int actions = 0;
    int failures = 0;
    QStringList errors;
};

// The content tables of an SQLite bank into the server's content schema, in batches of rows.
void copyContent(const QSqlDatabase &from, const QSqlDatabase &to)
{
    constexpr int kBatch = 200;
    db::Transaction tx(to);
    for (const QString &table : db::contentTables()) {
        const int width = int(db::columns(table).size());
        const QString row = u'(' + QStringList(width, u"?"_s).join(u',') + u')';
        QSqlQuery q = db::run(from, u"select %1 from %2"_s.arg(db::columns(table).join(u','), table));
        QVariantList values;
        int rows = 0;
        const auto flush = [&] {
            if (rows == 0)
                return;
            db::run(to, u"insert into %1 values %2"_s.arg(table, QStringList(rows, row).join(u',')), values);
            values.clear();
            rows = 0;
        };
        while (q.next()) {
            for (int k = 0; k < width; ++k)
                values << q.value(k);
            if (++rows == kBatch)
                flush();
        }
        flush();
    }
    db::run(to, u"analyze"_s);
    tx.commit();
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double percentile(QList<double> v, double p)
{
    if (v.isEmpty())
        return 0;
    std::sort(v.begin(), v.end());
    return v.at(qMin(v.size() - 1, qsizetype(p * double(v.size()))));
}

void learner(const db::ServerConfig &server, const QString &name, const QString &password,
             const QStringList &chapters, const QStringList &papers, quint32 seed,
             std::chrono::steady_clock::time_point until, Timings &out)
{
    const QString connection = u"load-"_s + name;
    QString error;
    if (!db::openServer(server, name, password, db::ServerRole::Learner, connection, &error)) {
        ++out.failures;
        out.errors << error;
        return;
    }
    {
        const QSqlDatabase db = db::bank(connection);
        QRandomGenerator rng(seed);
        FakeClock clock(QDateTime(QDate(2036, 1, 1), QTime(8, 0)));
        // A learner reads and thinks between two actions: 0.2 to 1.8 s, one second on average.
        const auto think = [&] { std::this_thread::sleep_for(std::chrono::milliseconds(rng.bounded(200, 1800))); };
        const auto timed = [&](QList<double> &into, const std::function<void()> &action) {
            QElapsedTimer t;
            t.start();
            const double cpu0 = threadCpuMs();
            try {
                action();
                into << t.nsecsElapsed() / 1e6;
                out.clientCpuMs += threadCpuMs() - cpu0;
                ++out.actions;
            } catch (const db::Error &e) {
                ++out.failures;
                out.errors << e.message();
            }
        };
        practice::AnswerInput choice;
        choice.boxes[0] = true;
        think();
        while (std::chrono::steady_clock::now() < until) {
            QString pageId;
            const session::BuildRequest request{chapters.at(rng.bounded(int(chapters.size()))), {5, 5, 5, 0}, true};
            timed(out.chapterBuild.isEmpty() && out.firstBuild.isEmpty() ? out.firstBuild : out.chapterBuild, [&] {
                clock.advance(600000);
                pageId = session::buildChapterSession(db, clock, request, rng).pageId;
            });
            if (!pageId.isEmpty()) {
                practice::PracticeSession s(db);
                s.open(practice::QuestionSet::Session, pageId);
                for (int k = 0; k < 10 && k < s.count() && std::chrono::steady_clock::now() < until; ++k) {
                    think();
                    timed(out.move, [&] {
                        s.check(choice);
                        if (!s.atLast())
                            s.next();
                        s.reloadRecord();
                    });
                }
                timed(out.practiceTotals, [&] {
                    practice::storeTotals(db, pageId, practice::computeTotals(db, pageId), u"5分0秒"_s, u"章节练习"_s);
                });
            }
            think();
            paper::Built built;
            timed(out.paperBuild.isEmpty() && out.firstBuild.size() == 1 ? out.firstBuild : out.paperBuild, [&] {
                clock.advance(600000);
                built = paper::buildFixed(db, clock, papers.at(rng.bounded(int(papers.size()))));
            });
            think();
            if (!built.pageId.isEmpty()) {
                timed(out.handIn, [&] {
                    exam::writePageTotal(db, built.pageId, exam::computeTotals(db, built.pageId), u"1分0秒"_s,
                                         u"模拟考试"_s);
                });
            }
            think();
        }
    }
    db::closeBank(connection);
}

} // namespace

QM_BENCH_CASE("server: 200 learners practising and sitting exams at once")
{
    const int learners = qEnvironmentVariableIntValue("QM_LOAD_LEARNERS") > 0 ? qEnvironmentVariableIntValue("QM_LOAD_LEARNERS") : 200;
    const int seconds = qEnvironmentVariableIntValue("QM_LOAD_SECONDS") > 0 ? qEnvironmentVariableIntValue("QM_LOAD_SECONDS") : 60;

    // A centre's bank: 20,000 questions, no records yet.
    QElapsedTimer setup;
    setup.start();
    const QString source = QDir(ctx.workDir).filePath(u"centre.sqlite"_s);
    QString error;
    if (!bench::generateBank(source, {20000, 0, 0}, &error) || !db::openBank(source, u"load-source"_s, &error)) {
        bench::note(u"cannot make the centre's bank: "_s + error);
        return;
    }
    PgCluster &cluster = PgCluster::instance();
    const db::ServerConfig server = cluster.config(cluster.createDatabase());
    if (!db::openServer(server, server.user, server.password, db::ServerRole::Maintainer, u"load-admin"_s, &error)) {
        bench::note(u"cannot open the server: "_s + error);
        return;
    }
    QStringList chapters, papers;
    {
        const QSqlDatabase admin = db::bank(u"load-admin"_s);
        db::initServer(admin);
        copyContent(db::bank(u"load-source"_s), admin);
        // Papers of a real exam's size: the synthetic bank spreads its questions evenly over
        // chapters and papers, a thousand each.
        db::run(admin, u"delete from ex_page_id e where e.c_id in (select c_id from cap_id where m_type='2')"
                       " and e.p_id not in (select f.p_id from ex_page_id f where f.c_id=e.c_id order by f.p_id limit 100)"_s);
        for (int k = 0; k < learners; ++k)
            db::addLearner(admin, u"学员%1"_s.arg(k + 1, 3, 10, QLatin1Char('0')), u"pw-%1"_s.arg(k + 1));
        QSqlQuery q = db::run(admin, u"select c_id,m_type from cap_id"_s);
        while (q.next())
            (q.value(1).toString() == u"1" ? chapters : papers) << q.value(0).toString();
    }
    db::closeBank(u"load-admin"_s);
    db::closeBank(u"load-source"_s);
    bench::note(u"set-up: %1 questions, %2 chapters of 1,000, %3 papers of 100, %4 learners in %5 s"_s.arg(20000)
                    .arg(chapters.size())
                    .arg(papers.size())
                    .arg(learners)
                    .arg(setup.elapsed() / 1000.0, 0, 'f', 1));

    QList<Timings> timings(learners);
    std::vector<std::thread> threads;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (int k = 0; k < learners; ++k) {
        threads.emplace_back(learner, server, u"学员%1"_s.arg(k + 1, 3, 10, QLatin1Char('0')), u"pw-%1"_s.arg(k + 1), chapters,
                             papers, quint32(k + 1), until, std::ref(timings[k]));
    }
    for (std::thread &t : threads)
        t.join();

    Timings all;
    for (const Timings &t : std::as_const(timings)) {
        all.chapterBuild << t.chapterBuild;
        all.move << t.move;
        all.practiceTotals << t.practiceTotals;
        all.paperBuild << t.paperBuild;
        all.handIn << t.handIn;
        all.firstBuild << t.firstBuild;
        all.actions += t.actions;
        all.clientCpuMs += t.clientCpuMs;
        all.failures += t.failures;
        all.errors << t.errors;
    }
    double worst = 0;
    const auto line = [&](const QString &what, const QList<double> &v) {
        const double p95 = percentile(v, 0.95);
        worst = qMax(worst, p95);
        bench::note(u"%1  p50 %2 ms, p95 %3 ms, max %4 ms  (%5 actions)"_s.arg(what.leftJustified(44))
                        .arg(percentile(v, 0.5), 0, 'f', 1)
                        .arg(p95, 0, 'f', 1)
                        .arg(percentile(v, 1.0), 0, 'f', 1)
                        .arg(v.size()));
    };
    line(u"practice move (check + next + reload)"_s, all.move);
    line(u"chapter session build (15 questions)"_s, all.chapterBuild);
    line(u"practice totals (compute + store)"_s, all.practiceTotals);
    line(u"fixed paper build (100 questions)"_s, all.paperBuild);
    line(u"exam hand-in (totals + page_total)"_s, all.handIn);
    const double p95 = worst;
    line(u"first two builds on a new connection (apart)"_s, all.firstBuild);
    worst = p95;
    bench::note(u"%1 learners for %2 s: %3 actions, %4 failed; target p95 < 50 ms: %5"_s.arg(learners)
                    .arg(seconds)
                    .arg(all.actions)
                    .arg(all.failures)
                    .arg(worst < 50 && all.failures == 0 ? u"met"_s : u"MISSED"_s));
    bench::note(u"program side: %1 ms CPU per action on average (the rest of an action is the server's and"
                " waiting)"_s.arg(all.clientCpuMs / qMax(1, all.actions), 0, 'f', 2));
    for (const QString &e : all.errors.mid(0, 5))
        bench::note(u"failure: "_s + e);
}

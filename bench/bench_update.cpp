// The updater's merge of a large bank, beside a plain INSERT ... SELECT of the same rows.
#include "bench.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sql.h"
#include "update/bankmerge.h"
#include "update/incomingbank.h"
#include "update/mergeplan.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <atomic>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRuns = 5;

QString plainBank(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    const QString name = u"bench-create"_s;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        raw.setDatabaseName(path);
        if (!raw.open())
            qFatal("cannot create %s", qPrintable(path));
        for (const QString &table : db::contentTables())
            db::run(raw, db::createStatement(table));
        db::run(raw, db::createStatement(u"user_logon"_s));
        raw.close();
    }
    QSqlDatabase::removeDatabase(name);
    QString error;
    if (!db::openBank(path, name, &error))
        qFatal("%s", qPrintable(error));
    db::closeBank(name);
    return path;
}

// The content of the large bank plus learning material, about 150,000 rows over the nine tables.
void fillNewBank(const QString &path, const QString &large)
{
    const QString name = u"bench-fill"_s;
    QString error;
    if (!db::openBank(path, name, &error))
        qFatal("%s", qPrintable(error));
    {
        QSqlDatabase db = db::bank(name);
        db::run(db, u"ATTACH DATABASE ? AS src"_s, {large});
        db::Transaction tx(db);
        for (const QString &t : {u"ma_id"_s, u"cap_id"_s, u"ex_page_id"_s, u"ex_sub"_s})
            db::run(db, u"INSERT INTO main.%1 SELECT * FROM src.%1"_s.arg(t));
        QSqlQuery net(db), jy(db), dg(db), ad(db), soft(db);
        net.prepare(u"INSERT INTO ks_net VALUES (?,?,?,?,?,?)"_s);
        jy.prepare(u"INSERT INTO ks_jy VALUES (?,?,?)"_s);
        dg.prepare(u"INSERT INTO ks_dg VALUES (?,?,?)"_s);
        ad.prepare(u"INSERT INTO ks_ad VALUES (?,?,?)"_s);
        soft.prepare(u"INSERT INTO soft_text VALUES (?,?,?)"_s);
        const auto exec = [](QSqlQuery &q, const QVariantList &values) {
            for (qsizetype k = 0; k < values.size(); ++k)
                q.bindValue(int(k), values.at(k));
            if (!q.exec())
                qFatal("cannot fill the new bank");
        };
        for (int k = 0; k < 20000; ++k)
            exec(net, {u"M1C%1"_s.arg(k % 25 + 1), u"N%1"_s.arg(k), u"网络课程第%1讲"_s.arg(k), u"0"_s, u"0"_s,
                       u"mpg/n%1.wmv"_s.arg(k)});
        for (int k = 0; k < 12000; ++k)
            exec(jy, {u"M%1C%2"_s.arg(k % 4 + 1).arg(k % 25 + 1), u"jy/%1.htm"_s.arg(k), k % 2});
        for (int k = 0; k < 2000; ++k) {
            exec(dg, {u"考试指南%1"_s.arg(k), u"dg/%1.htm"_s.arg(k), 1});
            exec(ad, {u"帮助%1"_s.arg(k), u"http://help.test/%1.htm"_s.arg(k), 0});
            exec(soft, {u"首页文字%1"_s.arg(k), k % 600, k % 400});
        }
        tx.commit();
        db::run(db, u"DETACH DATABASE src"_s);
        db::run(db, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    }
    db::closeBank(name);
}

int rowsOf(const QString &path)
{
    QString error;
    if (!update::openIncomingBank(path, u"bench-count"_s, &error))
        qFatal("%s", qPrintable(error));
    int rows = 0;
    for (const update::MergeTable &t : update::mergePlan())
        rows += db::scalar(db::bank(u"bench-count"_s), u"SELECT COUNT(*) FROM "_s + t.name).toInt();
    db::closeBank(u"bench-count"_s);
    return rows;
}

double median(QList<double> times)
{
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

void printTimes(const QString &what, const QList<double> &times)
{
    bench::note(u"%1 %2 ms   (%3 .. %4, %5 runs)"_s.arg(what, -58)
                    .arg(median(times), 10, 'f', 3)
                    .arg(*std::min_element(times.begin(), times.end()), 0, 'f', 3)
                    .arg(*std::max_element(times.begin(), times.end()), 0, 'f', 3)
                    .arg(times.size()));
}

// Times the merge of newBank into the bank at localPath; prepare() runs untimed before each run.
QList<double> timeMerges(const QString &localPath, const QString &newBank, const std::function<void()> &prepare,
                         qint64 *longestWriterWait = nullptr)
{
    QList<double> times;
    QStringList perTable;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QString error;
        if (!db::openBank(localPath, u"bench-local"_s, &error) ||
            !update::openIncomingBank(newBank, u"bench-new"_s, &error))
            qFatal("%s", qPrintable(error));
        // A learner answering questions meanwhile: one test_page row every 20 ms through its own connection.
        std::atomic<bool> stop = false;
        std::atomic<qint64> longest = 0;
        std::atomic<int> failed = 0;
        std::unique_ptr<QThread> writer;
        if (longestWriterWait) {
            writer.reset(QThread::create([&] {
                const QString name = u"bench-writer"_s;
                QString e;
                if (!db::openBank(localPath, name, &e))
                    qFatal("%s", qPrintable(e));
                for (int k = 0; !stop; ++k) {
                    QElapsedTimer t;
                    t.start();
                    try {
                        db::run(db::bank(name), u"INSERT INTO test_page (page_id, p_id) VALUES (?, ?)"_s,
                                {u"20300101000000"_s, u"W%1"_s.arg(k)});
                    } catch (const db::Error &) {
                        ++failed;
                    }
                    longest = std::max<qint64>(longest, t.elapsed());
                    QThread::msleep(20);
                }
                db::closeBank(name);
            }));
            writer->start();
        }
        QElapsedTimer timer;
        timer.start();
        {
            BankMerge merge(db::bank(u"bench-local"_s), db::bank(u"bench-new"_s));
            perTable.clear();
            qint64 previous = 0;
            merge.onTable = [&](int table) {
                const qint64 now = timer.elapsed();
                perTable << u"%1 %2"_s.arg(update::mergePlan().at(table - 1).name).arg(now - previous);
                previous = now;
            };
            if (!merge.run())
                qFatal("%s", qPrintable(merge.error()));
        }
        times << timer.nsecsElapsed() / 1e6;
        if (writer) {
            stop = true;
            writer->wait();
            if (failed > 0)
                qFatal("a concurrent write failed during the merge");
            *longestWriterWait = std::max<qint64>(*longestWriterWait, longest);
        }
        db::closeBank(u"bench-new"_s);
        db::closeBank(u"bench-local"_s);
    }
    bench::note(u"  per table in the last run (ms; the first includes planning every table): "_s +
                perTable.join(u", "_s));
    return times;
}

} // namespace

QM_BENCH_CASE("update: merge of a 100,000-question bank")
{
    db::run(ctx.db, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
    const QString newBank = plainBank(QDir(ctx.workDir).filePath(u"new/update/sys.htm"_s));
    fillNewBank(newBank, ctx.largeBank);
    const int rows = rowsOf(newBank);
    bench::note(u"new bank: %1 rows over the nine tables"_s.arg(rows));

    const QString equal = QDir(ctx.workDir).filePath(u"equal/data/sys.htm"_s);
    QDir().mkpath(QFileInfo(equal).absolutePath());
    QFile::copy(newBank, equal);
    const QString empty = QDir(ctx.workDir).filePath(u"empty/data/sys.htm"_s);

    const QList<double> intoEqual = timeMerges(equal, newBank, [] {});
    printTimes(u"merge into an equal bank"_s, intoEqual);
    const QList<double> intoEmpty = timeMerges(empty, newBank, [&] { plainBank(empty); });
    printTimes(u"merge into an empty bank"_s, intoEmpty);

    QList<double> plain;
    for (int run = 0; run < kRuns; ++run) {
        plainBank(empty);
        QString error;
        if (!db::openBank(empty, u"bench-plain"_s, &error))
            qFatal("%s", qPrintable(error));
        {
            QSqlDatabase db = db::bank(u"bench-plain"_s);
            QElapsedTimer timer;
            timer.start();
            db::run(db, u"ATTACH DATABASE ? AS src"_s, {newBank});
            db::run(db, u"BEGIN IMMEDIATE"_s);
            for (const update::MergeTable &t : update::mergePlan())
                db::run(db, u"INSERT INTO main.%1 SELECT * FROM src.%1"_s.arg(t.name));
            db::run(db, u"COMMIT"_s);
            db::run(db, u"DETACH DATABASE src"_s);
            plain << timer.nsecsElapsed() / 1e6;
        }
        db::closeBank(u"bench-plain"_s);
    }
    printTimes(u"plain INSERT ... SELECT through ATTACH (same rows)"_s, plain);

    bench::note(u"ratio merge/plain: equal bank %1x, empty bank %2x (target: merge < 2000 ms, ratio <= 3x)"_s
                    .arg(median(intoEqual) / median(plain), 0, 'f', 2)
                    .arg(median(intoEmpty) / median(plain), 0, 'f', 2));

    // The same merges again while a learner answers questions, as exambank would write them.
    const auto withWriter = [&](const QString &what, const QString &localPath, const std::function<void()> &prepare) {
        qint64 longestWait = 0;
        printTimes(what, timeMerges(localPath, newBank, prepare, &longestWait));
        bench::note(u"longest wait of a test_page write during those merges: %1 ms (exambank gives up after %2 ms)"_s
                        .arg(longestWait)
                        .arg(db::kBusyTimeoutMs));
    };
    withWriter(u"merge into an equal bank while test_page is written"_s, equal, [] {});
    // Into the empty bank every row is written: the write lock is held longest there.
    withWriter(u"merge into an empty bank while test_page is written"_s, empty, [&] { plainBank(empty); });

    // Opening the new bank, with its quick_check, comes before every merge.
    QList<double> opening;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!update::openIncomingBank(newBank, u"bench-open"_s, &error))
            qFatal("%s", qPrintable(error));
        opening << timer.nsecsElapsed() / 1e6;
        db::closeBank(u"bench-open"_s);
    }
    printTimes(u"opening the new bank (with PRAGMA quick_check)"_s, opening);
}

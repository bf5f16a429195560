#include "db/connection.h"
#include "db/schema.h"
#include "db/server.h"
#include "db/sql.h"
#include "records/changedquestions.h"
#include "support/testbank.h"
#include "unit/update_files.h"
#include "update/bankmerge.h"
#include "update/incomingbank.h"
#include "update/mergeplan.h"
#include "update/updatejob.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const QString kRule = u"-------------------------------------------------------"_s;

// Every content table of a bank as text, rows in table order, so that "unchanged" can be compared.
QString dump(const QSqlDatabase &db)
{
    QString out;
    for (const QString &table : db::contentTables()) {
        out += table + u":\n"_s;
        QSqlQuery q = db::run(db, u"select * from "_s + table + u" order by {rowid}"_s);
        while (q.next()) {
            QStringList values;
            for (int k = 0; k < q.record().count(); ++k)
                values << (q.isNull(k) ? u"<null>"_s : q.value(k).toString());
            out += values.join(u'|') + u'\n';
        }
    }
    return out;
}

// The nine table lines, then the changed keys and how many of them had been answered.
QStringList report(const QList<int> &counts, int changedKeys = 0, int answered = 0)
{
    QStringList lines;
    for (qsizetype k = 0; k < counts.size(); ++k)
        lines << update::mergePlan().at(k).label + QString::number(counts.at(k)) + u"  条"_s << kRule;
    lines << u"答案有修改的题目:%1  题"_s.arg(changedKeys) << u"其中您做过的题目:%1  题"_s.arg(answered) << kRule;
    return lines;
}

void addQuestions(const TestBank &bank, const QString &cId, int from, int to, const QString &stem)
{
    db::Transaction tx(bank.db());
    for (int k = from; k <= to; ++k)
        bank.insert(u"ex_page_id"_s, {cId, u"P%1"_s.arg(k, 4, 10, QLatin1Char('0')), u"1"_s, stem, u"A"_s, u"B"_s,
                                      u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"A"_s, u"memo"_s, 0, 0, 1.0});
    tx.commit();
}

// A small bank holding a row in every table.
void fillEveryTable(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    bank.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s);
    bank.addCase(u"C1"_s, u"P2"_s, 2);
    bank.insert(u"ks_net"_s, {u"C1"_s, u"N1"_s, u"网课一"_s, u"0"_s, u"0"_s, u"n1.wmv"_s});
    bank.insert(u"ks_jy"_s, {u"C1"_s, u"jy1.htm"_s, 1});
    bank.insert(u"ks_dg"_s, {u"报名"_s, u"dg1.htm"_s, 1});
    bank.insert(u"soft_text"_s, {u"欢迎使用"_s, 10, 20});
    bank.insert(u"ks_ad"_s, {u"常见问题"_s, u"http://help.test/a.htm"_s, 0});
}

// A trigger that fails an insert into table where condition holds, as a full disk would.
void failOnInsert(const TestBank &bank, const QString &table, const QString &condition)
{
    if (!bank.isOnServer()) {
        db::run(bank.db(), u"create trigger boom before insert on %1 when %2 "
                           "begin select raise(abort, 'disk is full'); end"_s.arg(table, condition));
        return;
    }
    db::run(bank.contentDb(), u"create or replace function boom() returns trigger language plpgsql as "
                              "'begin raise exception ''disk is full''; end'"_s);
    db::run(bank.contentDb(), u"create trigger boom before insert on %1 for each row when (%2) execute function boom()"_s
                                  .arg(table, condition));
}

} // namespace

class UpdateMerge : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void planCoversTheContentTables()
    {
        QStringList planned;
        for (const update::MergeTable &t : update::mergePlan())
            planned << t.name;
        QCOMPARE(planned, (QStringList{u"ma_id"_s, u"cap_id"_s, u"ex_page_id"_s, u"ex_sub"_s, u"ks_net"_s, u"ks_jy"_s,
                                       u"ks_dg"_s, u"soft_text"_s, u"ks_ad"_s}));
        QStringList content = db::contentTables();
        content.sort();
        planned.sort();
        QCOMPARE(planned, content);
    }

    void everyTableIntoAnEmptyBankThenAgain()
    {
        TestBank local;
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillEveryTable(incoming);
        UpdateJob job(local.dir());
        QSignalSpy tables(&job, &UpdateJob::tableMerged);

        UpdateJob::Outcome first = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(first.result, UpdateJob::Result::Merged);
        QCOMPARE(first.report, report({1, 1, 2, 2, 1, 1, 1, 1, 1}));
        QCOMPARE(first.message, first.report.join(u'\n'));
        QCOMPARE(first.caption, u"记录变动提示"_s);
        QCOMPARE(tables.size(), 9);
        for (int k = 0; k < 9; ++k)
            QCOMPARE(tables.at(k).at(0).toInt(), k + 1);
        QCOMPARE(dump(local.db()), dump(incoming.db()));

        const UpdateJob::Outcome again = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(again.result, UpdateJob::Result::Merged);
        QCOMPARE(again.report, report({0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(dump(local.db()), dump(incoming.db()));
    }

    void newCourseAppendedExistingOverwritten()
    {
        TestBank local;
        local.addCourse(u"M1"_s, u"旧名一"_s);
        local.addCourse(u"M2"_s, u"旧名二"_s);
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.addCourse(u"M1"_s, u"会计基础"_s);
        incoming.addCourse(u"M2"_s, u"财经法规"_s);
        incoming.addCourse(u"M3"_s, u"初级会计电算化"_s);
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(outcome.report.first(), u"课程内容增加:1  条"_s);
        QCOMPARE(outcome.report.at(1), kRule);
        QCOMPARE(local.count(u"ma_id"_s), 3);
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id where m_id='M1'"_s).toString(), u"会计基础"_s);
        QCOMPARE(db::scalar(local.db(), u"select m_name from ma_id where m_id='M2'"_s).toString(), u"财经法规"_s);
    }

    void caseSubQuestionsArriveOnce()
    {
        TestBank local;
        local.addCase(u"C1"_s, u"P1"_s, 2);
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.addCase(u"C1"_s, u"P1"_s, 2);
        incoming.addCase(u"C1"_s, u"P9"_s, 3);
        UpdateJob job(local.dir());
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(6), u"案例子项题目增加:3  条"_s);
        QCOMPARE(local.count(u"ex_sub"_s, u"p_id=?"_s, {u"P9"_s}), 3);
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(6), u"案例子项题目增加:0  条"_s);
        QCOMPARE(local.count(u"ex_sub"_s), 5);
    }

    void emptyTableChangesNothing()
    {
        TestBank local;
        local.insert(u"ks_ad"_s, {u"常见问题"_s, u"a.htm"_s, 1});
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(outcome.report.at(16), u"帮助中心记录增加:0  条"_s);
        QCOMPARE(local.count(u"ks_ad"_s), 1);
    }

    void copiesByPositionAndKeepsNulls()
    {
        TestBank local;
        local.insert(u"soft_text"_s, {u"欢迎"_s, 1, 2});
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        // A layout with other column names and one column more: values go by position, the extra one is left out.
        db::run(incoming.db(), u"drop table soft_text"_s);
        db::run(incoming.db(), u"create table soft_text (t varchar(255), x integer, y integer, extra text)"_s);
        incoming.insert(u"soft_text"_s, {u"欢迎"_s, 30, QVariant(), u"ignored"_s});
        incoming.insert(u"soft_text"_s, {QVariant(), 5, 6, u"ignored"_s});
        UpdateJob job(local.dir());
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(14), u"注册面板文字记录增加:1  条"_s);
        QSqlQuery q = db::run(local.db(), u"select name, s_left, s_top from soft_text order by {rowid}"_s);
        QVERIFY(q.next());
        QCOMPARE(q.value(1).toInt(), 30);
        QVERIFY(q.isNull(2));
        QVERIFY(q.next());
        QVERIFY(q.isNull(0));
        // A row whose key is null finds itself again the next time.
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(14), u"注册面板文字记录增加:0  条"_s);
        QCOMPARE(local.count(u"soft_text"_s), 2);
    }

    void firstOfSeveralLocalRowsIsOverwritten()
    {
        TestBank local;
        local.insert(u"ks_net"_s, {u"C1"_s, u"N1"_s, u"网课"_s, u"first"_s, u"a.wmv"_s, u"a"_s});
        local.insert(u"ks_net"_s, {u"C1"_s, u"N1"_s, u"网课"_s, u"second"_s, u"a.wmv"_s, u"a"_s});
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.insert(u"ks_net"_s, {u"C1"_s, u"N1"_s, u"网课"_s, u"new"_s, u"a.wmv"_s, u"a"_s});
        UpdateJob job(local.dir());
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).result, UpdateJob::Result::Merged);
        // Compared as a set: the server moves a row it overwrites to another place in the table.
        QSqlQuery q = db::run(local.db(), u"select n_speaker from ks_net order by n_speaker"_s);
        QStringList speakers;
        while (q.next())
            speakers << q.value(0).toString();
        QCOMPARE(speakers, (QStringList{u"new"_s, u"second"_s}));
    }

    void duplicateKeysActAsIfAppliedInOrder_data()
    {
        QTest::addColumn<int>("windowKeys");
        QTest::addColumn<bool>("localRow");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("added");
        // One row after the other: C1 appended then overwritten, C9 overwritten twice, C2 appended.
        const QStringList withLocal{u"C90"_s, u"C11"_s, u"C20"_s};
        QTest::newRow("one window") << 10000 << true << withLocal << 2;
        QTest::newRow("a window per key") << 1 << true << withLocal << 2;
        // Into an empty table C9 is appended too, where it first comes.
        QTest::newRow("empty table") << 10000 << false << QStringList{u"C11"_s, u"C90"_s, u"C20"_s} << 3;
    }
    void duplicateKeysActAsIfAppliedInOrder()
    {
        QFETCH(int, windowKeys);
        QFETCH(bool, localRow);
        QFETCH(QStringList, rows);
        QFETCH(int, added);
        TestBank local;
        if (localRow)
            local.insert(u"ks_jy"_s, {u"C9"_s, u"z.htm"_s, 0});
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.insert(u"ks_jy"_s, {u"C1"_s, u"a.htm"_s, 0});
        incoming.insert(u"ks_jy"_s, {u"C9"_s, u"z.htm"_s, 1});
        incoming.insert(u"ks_jy"_s, {u"C2"_s, u"b.htm"_s, 0});
        incoming.insert(u"ks_jy"_s, {u"C1"_s, u"a.htm"_s, 1});
        incoming.insert(u"ks_jy"_s, {u"C9"_s, u"z.htm"_s, 0});
        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = windowKeys;
        job.setMergeTuning(tuning);
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(10), u"课程讲义记录增加:%1  条"_s.arg(added));
        QSqlQuery q = db::run(local.db(), u"select c_id, ks_local from ks_jy order by {rowid}"_s);
        QStringList merged;
        while (q.next())
            merged << q.value(0).toString() + q.value(1).toString();
        QCOMPARE(merged, rows);
    }

    // Into an empty table rows are copied window by window, whatever their row numbers.
    void emptyTableTakesEveryRow()
    {
        TestBank local;
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        addQuestions(incoming, u"C1"_s, 1, 9, u"题干"_s);
        db::run(incoming.db(), u"delete from ex_page_id where p_id in ('P0002', 'P0003', 'P0007')"_s);
        db::run(incoming.db(), u"insert into ex_page_id (rowid, c_id, p_id) values (4000000000, 'C1', 'P0010')"_s);
        db::run(incoming.db(), u"insert into ex_page_id (rowid, c_id, p_id) values (-5, 'C1', 'P0000')"_s);
        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = 2;
        job.setMergeTuning(tuning);
        QCOMPARE(job.runLocal(incoming.path(u"data/sys.htm"_s)).report.at(4), u"题目增加:8  条"_s);
        QCOMPARE(dump(local.db()), dump(incoming.db()));
    }

    void refusedBeforeAnythingIsWritten_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << u"missing"_s << u"不存在"_s;
        QTest::newRow("text file") << u"text"_s << u"不是有效的题库文件"_s;
        QTest::newRow("empty file") << u"empty"_s << u"不是有效的题库文件"_s;
        QTest::newRow("other database") << u"other"_s << u"不是有效的题库文件"_s;
        QTest::newRow("table missing") << u"no ks_ad"_s << u"ks_ad"_s;
        QTest::newRow("column missing") << u"short ex_sub"_s << u"ex_sub"_s;
        QTest::newRow("key column missing") << u"renamed ex_sub"_s << u"m_id"_s;
        QTest::newRow("table without rowid") << u"ma_id without rowid"_s << u"ma_id 没有行号"_s;
        QTest::newRow("column named rowid") << u"rowid in cap_id"_s << u"cap_id 没有行号"_s;
        QTest::newRow("column named oid") << u"oid in ks_dg"_s << u"ks_dg 没有行号"_s;
    }
    void refusedBeforeAnythingIsWritten()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        TestBank local;
        fillEveryTable(local);
        const QString before = dump(local.db());
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillEveryTable(incoming);
        incoming.addCourse(u"M9"_s, u"新课程"_s);
        QString file = incoming.path(u"data/sys.htm"_s);
        if (kind == u"missing") {
            file = incoming.path(u"data/none.htm"_s);
        } else if (kind == u"text") {
            file = incoming.path(u"data/page.htm"_s);
            incoming.writeFile(u"data/page.htm"_s, "<html><body>题库</body></html>\n");
        } else if (kind == u"empty") {
            file = incoming.path(u"data/empty.htm"_s);
            incoming.writeFile(u"data/empty.htm"_s, {});
        } else if (kind == u"other") {
            file = incoming.path(u"data/other.htm"_s);
            QSqlDatabase other = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            other.setDatabaseName(file);
            QVERIFY(other.open());
            db::run(other, u"create table things (a text)"_s);
            other.close();
            other = {};
            QSqlDatabase::removeDatabase(u"other"_s);
        } else if (kind == u"no ks_ad") {
            db::run(incoming.db(), u"drop table ks_ad"_s);
        } else if (kind == u"short ex_sub") {
            db::run(incoming.db(), u"alter table ex_sub drop column m_type"_s);
        } else if (kind == u"renamed ex_sub") {
            db::run(incoming.db(), u"alter table ex_sub rename column m_id to sub_no"_s);
        } else if (kind == u"ma_id without rowid") {
            db::run(incoming.db(), u"drop table ma_id"_s);
            db::run(incoming.db(), u"create table ma_id (m_id text primary key, m_name text, m_speaker text,"
                                   " m_down text) without rowid"_s);
            db::run(incoming.db(), u"insert into ma_id values ('M9', '新课程', '', '')"_s);
        } else if (kind == u"rowid in cap_id") {
            db::run(incoming.db(), u"alter table cap_id add column rowid integer"_s);
        } else if (kind == u"oid in ks_dg") {
            db::run(incoming.db(), u"alter table ks_dg add column OID integer"_s);
        }
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(file);
        QCOMPARE(outcome.result, UpdateJob::Result::Failed);
        QVERIFY2(outcome.message.contains(reason), qPrintable(outcome.message));
        QCOMPARE(outcome.caption, u"错误信息"_s);
        QVERIFY(outcome.report.isEmpty());
        QCOMPARE(dump(local.db()), before);
    }

    // A value the local column's type cannot hold: the file keeps it as it always did; the server
    // refuses the new bank before anything is written, naming the table.
    void textInANumberColumn()
    {
        TestBank local;
        fillEveryTable(local);
        const QString before = dump(local.db());
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillEveryTable(incoming);
        incoming.insert(u"ks_jy"_s, {u"C2"_s, u"b.htm"_s, u"是"_s});
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        if (!local.isOnServer()) {
            QCOMPARE(outcome.result, UpdateJob::Result::Merged);
            QCOMPARE(local.count(u"ks_jy"_s, u"ks_local='是'"_s), 1);
            return;
        }
        QCOMPARE(outcome.result, UpdateJob::Result::Failed);
        QVERIFY2(outcome.message.contains(u"ks_jy"_s), qPrintable(outcome.message));
        QVERIFY(outcome.report.isEmpty());
        QCOMPARE(dump(local.db()), before);
    }

    // An error anywhere, in the first table written or in the last, leaves the bank as it was.
    void errorLeavesTheBankAsItWas_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("windowKeys");
        QTest::addColumn<int>("localQuestions");
        QTest::addColumn<QString>("line");
        QTest::newRow("questions") << u"ex_page_id"_s << 10000 << 100 << u"题目增加:出错,题库未作任何修改"_s;
        QTest::newRow("questions, planned in windows")
            << u"ex_page_id"_s << 100 << 100 << u"题目增加:出错,题库未作任何修改"_s;
        QTest::newRow("questions into an empty table")
            << u"ex_page_id"_s << 100 << 0 << u"题目增加:出错,题库未作任何修改"_s;
        QTest::newRow("last table") << u"ks_ad"_s << 100 << 100 << u"帮助中心记录增加:出错,题库未作任何修改"_s;
    }
    void errorLeavesTheBankAsItWas()
    {
        QFETCH(QString, failing);
        QFETCH(int, windowKeys);
        QFETCH(int, localQuestions);
        QFETCH(QString, line);
        TestBank local;
        local.addCourse(u"M1"_s, u"旧名"_s);
        local.addChapter(u"C1"_s, u"旧章"_s, u"M1"_s);
        if (localQuestions > 0)
            addQuestions(local, u"C1"_s, 1, localQuestions, u"旧题干"_s);
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.addCourse(u"M1"_s, u"会计基础"_s);
        incoming.addCourse(u"M2"_s, u"财经法规"_s);
        incoming.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        addQuestions(incoming, u"C1"_s, 1, 700, u"新题干"_s);
        addQuestions(incoming, u"C1"_s, 9999, 9999, u"坏"_s);
        addQuestions(incoming, u"C1"_s, 701, 800, u"新题干"_s);
        fillEveryTable(incoming);
        failOnInsert(local, failing, failing == u"ex_page_id" ? u"new.p_id = 'P9999'"_s : u"1 = 1"_s);
        const QString before = dump(local.db());

        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = windowKeys;
        job.setMergeTuning(tuning);
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(outcome.result, UpdateJob::Result::Failed);
        QCOMPARE(dump(local.db()), before);
        QVERIFY2(outcome.message.contains(failing) && outcome.message.contains(u"disk is full"_s) &&
                     outcome.message.contains(u"本次更新已全部撤销"_s),
                 qPrintable(outcome.message));
        QCOMPARE(outcome.report, (QStringList{line, kRule}));
    }

    // Two merges at once (say a script and the window): the one that plans on rows the other has
    // since added or changed plans again. Every row arrives once, and the merge that writes last
    // has the last word, also where the other only changed a row (on the server that moves it).
    void otherMergeWhilePlanning_data()
    {
        QTest::addColumn<bool>("sameBank");
        QTest::addColumn<QStringList>("otherReport");
        QTest::addColumn<QStringList>("ownReport");
        QTest::newRow("same bank") << true << report({0, 1, 52, 2, 1, 1, 1, 1, 1}) << report({0, 0, 0, 0, 0, 0, 0, 0, 0});
        QTest::newRow("other bank overwrites a row")
            << false << report({0, 0, 0, 0, 0, 0, 0, 0, 0}) << report({0, 1, 52, 2, 1, 1, 1, 1, 1});
    }
    void otherMergeWhilePlanning()
    {
        QFETCH(bool, sameBank);
        QFETCH(QStringList, otherReport);
        QFETCH(QStringList, ownReport);
        TestBank local;
        local.addCourse(u"M1"_s, u"旧名"_s);
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillEveryTable(incoming);
        addQuestions(incoming, u"C1"_s, 1, 50, u"题干"_s);
        TestBank otherBank(u"other-bank"_s, TestBank::Where::File);
        otherBank.addCourse(u"M1"_s, u"另一名"_s);
        const QString otherFile = (sameBank ? incoming : otherBank).path(u"data/sys.htm"_s);
        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = 10;
        job.setMergeTuning(tuning);
        // On the server the new bank's rows are first copied there, one report for each of its
        // tables (each fits one statement here): the other merge comes once planning has begun.
        int copyReports = 0;
        if (local.isOnServer()) {
            for (const update::MergeTable &t : update::mergePlan())
                copyReports += incoming.count(t.name) > 0 ? 1 : 0;
        }
        QStringList othersReport;
        QString otherError;
        int rowReports = 0;
        connect(&job, &UpdateJob::rowsMerged, this, [&] {
            if (!othersReport.isEmpty() || !otherError.isEmpty() || ++rowReports <= copyReports)
                return;
            QString error;
            if (!db::openConfigured(AppPaths(local.dir()), u"other"_s, &error) ||
                !update::openIncomingBank(otherFile, u"other-new"_s, &error)) {
                otherError = error;
                return;
            }
            {
                BankMerge other(db::bank(u"other"_s), db::bank(u"other-new"_s));
                otherError = other.run() ? u"-"_s : other.error();
                othersReport = other.report();
            }
            db::closeBank(u"other-new"_s);
            db::closeBank(u"other"_s);
        });
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(otherError, u"-"_s);
        QCOMPARE(othersReport, otherReport);
        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        QCOMPARE(outcome.report, ownReport);
        QCOMPARE(dump(local.db()), dump(incoming.db()));
    }

    // The chosen file is only read: not a byte of it changes and SQLite leaves nothing beside it,
    // whatever its journal mode and however its name is spelled.
    void chosenFileIsOnlyRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("wal");
        QTest::newRow("WAL bank") << u"新题库.htm"_s << true;
        QTest::newRow("rollback-journal bank") << u"新题库.htm"_s << false;
        QTest::newRow("name with URI characters") << u"题库 #1?%.htm"_s << true;
    }
    void chosenFileIsOnlyRead()
    {
        QFETCH(QString, name);
        QFETCH(bool, wal);
        TestBank local;
        local.addCourse(u"M1"_s, u"旧名"_s);
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        fillEveryTable(incoming);
        QByteArray bytes = updatetest::bankBytes(incoming);
        QCOMPARE(bytes.mid(18, 2), QByteArray("\x02\x02"));
        if (!wal)
            bytes.replace(18, 2, "\x01\x01");
        QTemporaryDir chosen;
        const QString file = QDir(chosen.path()).filePath(name);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        UpdateJob job(local.dir());
        const UpdateJob::Outcome outcome = job.runLocal(file);
        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        QCOMPARE(outcome.report, report({0, 1, 2, 2, 1, 1, 1, 1, 1}));
        QCOMPARE(updatetest::fileBytes(file), bytes);
        QCOMPARE(QDir(chosen.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    }

    // A learner answering questions in exambank meanwhile: every write lands, and writes get
    // through while the merge is still running instead of waiting for its end.
    void concurrentWriterKeepsWorking()
    {
        TestBank local;
        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        addQuestions(incoming, u"C1"_s, 1, 20000, u"新题干"_s);
        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = 100;
        job.setMergeTuning(tuning);

        QElapsedTimer clock;
        clock.start();
        std::atomic<bool> stop = false;
        std::atomic<int> failures = 0;
        std::atomic<int> written = 0;
        QList<qint64> landed; // read after the writer has ended
        std::unique_ptr<QThread> writer(QThread::create([&] {
            QString error;
            if (!local.openAgain(u"writer"_s, &error))
                qFatal("%s", qPrintable(error));
            for (int k = 0; !stop; ++k) {
                try {
                    db::run(db::bank(u"writer"_s), u"insert into test_page (page_id, p_id) values (?, ?)"_s,
                            {u"20300101000000"_s, u"W%1"_s.arg(k)});
                    landed << clock.elapsed();
                    ++written;
                } catch (const db::Error &) {
                    ++failures;
                }
                // Short pauses: on a loaded machine a 10 ms sleep left room for only two writes.
                QThread::msleep(2);
            }
            db::closeBank(u"writer"_s);
        }));
        writer->start();
        QTRY_VERIFY(written > 0);
        const qint64 start = clock.elapsed();
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        const qint64 end = clock.elapsed();
        stop = true;
        writer->wait();

        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        QCOMPARE(outcome.report.at(4), u"题目增加:20000  条"_s);
        QCOMPARE(failures.load(), 0);
        QCOMPARE(local.count(u"test_page"_s), int(landed.size()));
        const auto during = std::count_if(landed.begin(), landed.end(), [&](qint64 t) { return t > start && t < end; });
        QVERIFY2(during >= 3, qPrintable(u"%1 writes during a merge of %2 ms"_s.arg(during).arg(end - start)));
    }

    // On the server learners go on answering (each in his own schema) and reading the questions
    // while the centre merges; the list of changed questions reaches every learner's schema, so
    // each is told about the questions he himself had answered.
    void learnersKeepWorkingDuringAServerMerge()
    {
        if (!TestBank::onServer())
            QSKIP("learners and their schemas exist on the server only");
        TestBank local;
        const QString other = u"学员 乙"_s;
        const QString otherPassword = u"secret 2"_s;
        db::addLearner(local.contentDb(), other, otherPassword);
        local.addCourse(u"M1"_s, u"会计基础"_s);
        local.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        addQuestions(local, u"C1"_s, 1, 100, u"题干"_s);
        const auto answered = [](const QSqlDatabase &db, const QString &pId) {
            db::run(db, u"insert into test_page (page_id, p_id, p_do_yn) values ('20200101000000', ?, 1)"_s, {pId});
        };
        const db::Login otherLogin{other, otherPassword};
        QString error;
        QVERIFY2(db::openConfigured(AppPaths(local.dir()), u"other-learner"_s, &error, &otherLogin), qPrintable(error));
        answered(local.db(), u"P0001"_s);
        answered(db::bank(u"other-learner"_s), u"P0001"_s);
        answered(db::bank(u"other-learner"_s), u"P0002"_s);

        TestBank incoming(u"incoming"_s, TestBank::Where::File);
        incoming.addCourse(u"M1"_s, u"会计基础"_s);
        incoming.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        addQuestions(incoming, u"C1"_s, 1, 20000, u"题干"_s);
        db::run(incoming.db(), u"update ex_page_id set p_anwser='B' where p_id <= 'P0010'"_s);
        UpdateJob job(local.dir());
        BankMerge::Tuning tuning;
        tuning.windowKeys = 500;
        job.setMergeTuning(tuning);

        QElapsedTimer clock;
        clock.start();
        std::atomic<bool> stop = false;
        std::atomic<int> failures = 0;
        std::atomic<int> writes = 0;
        QList<qint64> written, read; // each read after its thread has ended
        const auto learner = [&](const QString &connection, bool writer, QList<qint64> *times) {
            return QThread::create([&, connection, writer, times] {
                QString reason;
                if (!(writer ? local.openAgain(connection, &reason)
                             : db::openConfigured(AppPaths(local.dir()), connection, &reason, &otherLogin)))
                    qFatal("%s", qPrintable(reason));
                for (int k = 0; !stop; ++k) {
                    try {
                        if (writer) {
                            db::run(db::bank(connection), u"insert into test_page (page_id, p_id) values (?, ?)"_s,
                                    {u"20300101000000"_s, u"W%1"_s.arg(k)});
                            ++writes;
                        } else {
                            db::scalar(db::bank(connection), u"select count(*) from ex_page_id where p_type='1'"_s);
                        }
                        times->append(clock.elapsed());
                    } catch (const db::Error &) {
                        ++failures;
                    }
                    QThread::msleep(2);
                }
                db::closeBank(connection);
            });
        };
        std::unique_ptr<QThread> writer(learner(u"writer"_s, true, &written));
        std::unique_ptr<QThread> reader(learner(u"reader"_s, false, &read));
        writer->start();
        reader->start();
        QTRY_VERIFY(writes > 0);
        const qint64 start = clock.elapsed();
        const UpdateJob::Outcome outcome = job.runLocal(incoming.path(u"data/sys.htm"_s));
        const qint64 end = clock.elapsed();
        stop = true;
        writer->wait();
        reader->wait();

        QCOMPARE(outcome.result, UpdateJob::Result::Merged);
        // Ten answers changed; P0001 and P0002 had been answered, P0001 by both learners.
        QCOMPARE(outcome.report, report({0, 0, 19900, 0, 0, 0, 0, 0, 0}, 10, 2));
        QCOMPARE(failures.load(), 0);
        QCOMPARE(local.count(u"test_page"_s, u"page_id='20300101000000'"_s), int(written.size()));
        const auto during = [&](const QList<qint64> &times) {
            return std::count_if(times.begin(), times.end(), [&](qint64 t) { return t > start && t < end; });
        };
        QVERIFY2(during(written) >= 3 && during(read) >= 3,
                 qPrintable(u"%1 writes, %2 reads during a merge of %3 ms"_s.arg(during(written)).arg(during(read))
                                .arg(end - start)));

        // Each learner reads the list in his own schema and is told of his own questions only.
        const auto told = [](const QSqlDatabase &db) {
            QStringList ids;
            for (const records::ChangedQuestion &c : records::answeredChanged(db, QString(), true))
                ids << c.pId;
            return ids;
        };
        QCOMPARE(local.count(u"qm_changed"_s), 10);
        QCOMPARE(db::scalar(db::bank(u"other-learner"_s), u"select count(*) from qm_changed"_s).toInt(), 10);
        QCOMPARE(told(local.db()), QStringList{u"P0001"_s});
        QCOMPARE(told(db::bank(u"other-learner"_s)), (QStringList{u"P0001"_s, u"P0002"_s}));
        records::markChangesTold(local.db());
        QVERIFY(told(local.db()).isEmpty());
        QCOMPARE(told(db::bank(u"other-learner"_s)).size(), 2);

        // The same bank again adds and lists nothing.
        const UpdateJob::Outcome again = job.runLocal(incoming.path(u"data/sys.htm"_s));
        QCOMPARE(again.report, report({0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(local.count(u"ex_page_id"_s), 20000);
        QCOMPARE(db::scalar(local.contentDb(), u"select count(*) from qm_changed"_s).toInt(), 10);
        QCOMPARE(db::scalar(db::bank(u"other-learner"_s), u"select count(*) from qm_changed"_s).toInt(), 10);
        db::closeBank(u"other-learner"_s);
    }
};

QTEST_GUILESS_MAIN(UpdateMerge)
#include "update_merge.moc"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sessionstore.h"
#include "db/sql.h"
#include "shell/clock.h"
#include "support/testbank.h"

#include <QSqlRecord>
#include <QTest>

using namespace Qt::StringLiterals;

class BankDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void columnsInTheirFixedOrder_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("columns");
        QTest::newRow("ma_id") << u"ma_id"_s << u"m_id,m_name,m_speaker,m_down"_s;
        QTest::newRow("cap_id") << u"cap_id"_s << u"c_id,c_name,m_id,m_type"_s;
        QTest::newRow("ex_page_id") << u"ex_page_id"_s
                                    << u"c_id,p_id,p_type,p_subject_name,p_a,p_b,p_c,p_d,p_e,p_f,p_anwser,"
                                       "p_anwser_memo,p_mask,p_ok_mask,p_score"_s;
        QTest::newRow("test_page") << u"test_page"_s
                                   << u"page_id,p_id,p_a,p_b,p_c,p_d,p_e,p_f,p_answer,p_do_yn,p_real_yn,p_mask,"
                                      "p_ok_mask,p_first_answer,p_score,p_type"_s;
        QTest::newRow("page_total") << u"page_total"_s
                                    << u"page_id,p_true,p_false,p_nothing,p_doing,p_time,p_type,p_score"_s;
        QTest::newRow("tmp") << u"tmp"_s
                             << u"a_m_id,m_name,m_speaker,m_down,b_c_id,c_name,b_m_id,m_type,c_c_id,c_p_id,p_type,"
                                "p_subject_name,c_p_a,c_p_b,c_p_c,c_p_d,c_p_e,c_p_f,p_anwser,p_anwser_memo,c_p_mask,"
                                "c_p_ok_mask,c_p_score,page_id,d_p_id,d_p_a,d_p_b,d_p_c,d_p_d,d_p_e,d_p_f,p_answer,"
                                "p_do_yn,p_real_yn,d_p_mask,d_p_ok_mask,p_first_answer,d_p_score,d_p_type,e_m_id,"
                                "e_subject_name"_s;
        QTest::newRow("tmp_id") << u"tmp_id"_s << u"p_id,p_score"_s;
    }
    void columnsInTheirFixedOrder()
    {
        QFETCH(QString, table);
        QFETCH(QString, columns);
        TestBank bank;
        const QSqlRecord record = bank.db().record(table);
        QStringList names;
        for (int k = 0; k < record.count(); ++k)
            names << record.fieldName(k);
        QCOMPARE(names.join(u','), columns);
    }

    void openRefusesWhatIsNotABank()
    {
        TestBank bank(u"other"_s);
        QString error;
        QVERIFY(!db::openBank(bank.path(u"data/none.htm"_s), u"x"_s, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(bank.path(u"data/none.htm"_s))); // nothing created

        bank.writeFile(u"data/text.htm"_s, "<html>not a database at all</html>\n");
        error.clear();
        QVERIFY(!db::openBank(bank.path(u"data/text.htm"_s), u"x"_s, &error));
        QVERIFY(!error.isEmpty());

        {
            QSqlDatabase empty = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"mk"_s);
            empty.setDatabaseName(bank.path(u"data/empty.htm"_s));
            QVERIFY(empty.open());
            db::run(empty, u"create table other (x integer)"_s);
            empty.close();
        }
        QSqlDatabase::removeDatabase(u"mk"_s);
        error.clear();
        QVERIFY(!db::openBank(bank.path(u"data/empty.htm"_s), u"x"_s, &error));
        QVERIFY(error.contains(u"题库"_s));
        QVERIFY(!QSqlDatabase::contains(u"x"_s));
    }

    // A learner's file of an older layout: p_time five wide, answers limited to 255, an index and
    // the version row missing. Opening it upgrades it in place with every row and value kept.
    void schemaUpgradeKeepsRows()
    {
        TestBank bank(u"upgrade"_s);
        const QSqlDatabase d = bank.db();
        bank.addCourse(u"m1"_s, u"会计基础"_s);
        db::run(d, u"drop table page_total"_s);
        db::run(d, u"create table page_total (page_id VARCHAR(14), p_true VARCHAR(4), p_false VARCHAR(4), "
                   "p_nothing VARCHAR(4), p_doing VARCHAR(4), p_time VARCHAR(5), p_type VARCHAR(8), "
                   "p_score DOUBLE PRECISION)"_s);
        db::run(d, u"insert into page_total values ('20250101080000','12','3','5','20','12分3秒','章节练习',15.5)"_s);
        db::run(d, u"insert into page_total values ('20250102080000','1','0','0','1','0分9秒','模拟考试',2)"_s);
        db::run(d, u"drop table test_page"_s);
        db::run(d, u"create table test_page (page_id VARCHAR(14), p_id VARCHAR(14), p_a INTEGER, p_b INTEGER, "
                   "p_c INTEGER, p_d INTEGER, p_e INTEGER, p_f INTEGER, p_answer VARCHAR(255), p_do_yn INTEGER, "
                   "p_real_yn INTEGER, p_mask INTEGER, p_ok_mask INTEGER, p_first_answer VARCHAR(255), "
                   "p_score DOUBLE PRECISION, p_type INTEGER)"_s);
        db::run(d, u"insert into test_page values ('20250101080000','p1',1,0,0,0,0,0,'A',1,1,0,1,'A',1,1)"_s);
        db::run(d, u"drop table qm_version"_s);

        db::ensureSchema(d);

        QCOMPARE(bank.count(u"ma_id"_s), 1);
        QCOMPARE(bank.count(u"page_total"_s), 2);
        QSqlQuery q = db::run(d, u"select * from page_total order by page_id"_s);
        QVERIFY(q.next());
        const QVariantList first = {u"20250101080000"_s, u"12"_s,       u"3"_s, u"5"_s, u"20"_s,
                                    u"12分3秒"_s,        u"章节练习"_s, 15.5};
        for (int k = 0; k < first.size(); ++k)
            QCOMPARE(q.value(k).toString(), first.at(k).toString());
        QCOMPARE(db::scalar(d, u"select p_answer from test_page where p_id='p1'"_s).toString(), u"A"_s);
        QCOMPARE(db::scalar(d, u"select p_ok_mask from test_page where p_id='p1'"_s).toInt(), 1);

        // The current layout: column order unchanged, the wider and longer types in place.
        QCOMPARE(db::scalar(d, u"select type from pragma_table_info('page_total') where name='p_time'"_s).toString(),
                 u"VARCHAR(20)"_s);
        QCOMPARE(db::scalar(d, u"select type from pragma_table_info('test_page') where name='p_answer'"_s).toString(),
                 u"TEXT"_s);
        QCOMPARE(db::scalar(d, u"select name from pragma_table_info('test_page') where cid=15"_s).toString(),
                 u"p_type"_s);
        QCOMPARE(
            db::scalar(d, u"select count(*) from sqlite_master where type='index' and name='ix_page_total_page_id'"_s)
                .toInt(),
            1);
        QCOMPARE(db::scalar(d, u"select count(*) from sqlite_master where name like '%before_upgrade%'"_s).toInt(), 0);
        QCOMPARE(db::scalar(d, u"select version from qm_version"_s).toInt(), db::kSchemaVersion);
        const QString mode = db::scalar(d, u"PRAGMA journal_mode"_s).toString();
        QCOMPARE(mode.toLower(), u"wal"_s);

        // A second open finds the current layout and leaves the file alone.
        const QString before = db::scalar(d, u"select group_concat(sql, ';') from sqlite_master"_s).toString();
        db::ensureSchema(d);
        QCOMPARE(db::scalar(d, u"select group_concat(sql, ';') from sqlite_master"_s).toString(), before);
        QCOMPARE(bank.count(u"page_total"_s), 2);
    }

    void chapterSessionWithCaseQuestion()
    {
        TestBank bank;
        const QSqlDatabase d = bank.db();
        bank.addCourse(u"m1"_s, u"会计基础"_s);
        bank.addChapter(u"c1"_s, u"第一章"_s, u"m1"_s);
        bank.addQuestion(u"c1"_s, u"q1"_s, 1, u"A"_s);
        bank.addQuestion(u"c1"_s, u"q2"_s, 1, u"C"_s);
        bank.addQuestion(u"c1"_s, u"q3"_s, 1, u"B"_s);
        bank.addCase(u"c1"_s, u"k1"_s, 3);

        db::clearTmp(d);
        db::clearTmpId(d);
        db::selectFirstOfType(d, u"c1"_s, 1, 2);
        db::selectFirstOfType(d, u"c1"_s, 5, 1);
        db::selectFirstOfType(d, u"c1"_s, 2, 0);
        QCOMPARE(db::countSelectionOfType(d, 1), 2);
        QCOMPARE(db::countSelectionOfType(d, 5), 1);
        const QList<db::Selected> selected = db::listSelection(d);
        QCOMPARE(selected.size(), 3);
        QCOMPARE(selected.at(0).pId, u"q1"_s); // first N in table order
        QCOMPARE(selected.at(1).pId, u"q2"_s);

        QList<db::AnswerRecord> records;
        for (const db::Selected &s : selected)
            records.append({s.pId, s.score, s.type.toInt(), {}, false, false});
        const QString pageId = u"20260305101112"_s;
        db::appendAnswerRecords(d, pageId, records);
        db::copyForPractice(d, pageId);

        QCOMPARE(bank.count(u"test_page"_s, u"page_id=?"_s, {pageId}), 3);
        QCOMPARE(bank.count(u"tmp"_s), 5);
        QCOMPARE(bank.count(u"tmp"_s, u"e_m_id='0' and e_subject_name='非案例题'"_s), 2);

        QSqlQuery rows = db::readPracticeCopy(d, pageId);
        QStringList order;
        while (rows.next())
            order << rows.value(u"c_p_id"_s).toString() + u':' + rows.value(u"e_m_id"_s).toString();
        QCOMPARE(order.join(u' '), u"q1:0 q2:0 k1:1 k1:2 k1:3"_s);

        QSqlQuery sub = db::workingRow(d, u"k1"_s, u"2"_s);
        QVERIFY(sub.next());
        QCOMPARE(sub.value(u"c_p_a"_s).toString(), u"甲"_s);
        QCOMPARE(sub.value(u"c_p_e"_s).toString(), u"-"_s);
        QCOMPARE(sub.value(u"p_anwser"_s).toString(), u"BC"_s);
        QCOMPARE(sub.value(u"p_anwser_memo"_s).toString(), u"小题解析 2"_s);
        QCOMPARE(sub.value(u"c_p_score"_s).toDouble(), 2.0);
        QCOMPARE(sub.value(u"d_p_type"_s).toString(), u"2"_s);
        QCOMPARE(sub.value(u"e_subject_name"_s).toString(), u"小题 2"_s);
        QCOMPARE(sub.value(u"p_subject_name"_s).toString(), u"案例 k1"_s); // the case stem stays
        QCOMPARE(sub.value(u"m_name"_s).toString(), u"会计基础"_s);
        QCOMPARE(sub.value(u"page_id"_s).toString(), pageId);

        QSqlQuery rec = db::sessionRecords(d, pageId, true);
        QVERIFY(rec.next());
        QCOMPARE(rec.value(u"p_answer"_s).toString(), QString());
        QVERIFY(!rec.value(u"p_answer"_s).isNull());
        QVERIFY(!rec.value(u"p_first_answer"_s).isNull()); // empty text until answered
        QCOMPARE(rec.value(u"p_type"_s).toInt(), 1);
        QVERIFY(!rec.value(u"p_do_yn"_s).toBool());
    }

    void examCopyReplacesTmp()
    {
        TestBank bank;
        const QSqlDatabase d = bank.db();
        bank.addQuestion(u"t1"_s, u"q1"_s, 1, u"A"_s);
        bank.addQuestion(u"t1"_s, u"q2"_s, 3, u"B"_s);
        db::run(d, u"insert into tmp (c_p_id) values ('stale')"_s);
        db::appendAnswerRecords(d, u"20260305101112"_s,
                                {{u"q1"_s, 1, 1, {}, false, false}, {u"q2"_s, 1, 3, {}, false, false}});
        db::copyForExam(d, u"20260305101112"_s);
        QCOMPARE(bank.count(u"tmp"_s), 2);
        QCOMPARE(bank.count(u"tmp"_s, u"m_down='false'"_s), 2);
        QCOMPARE(bank.count(u"tmp"_s, u"c_p_id='stale'"_s), 0);
    }

    void targetedRecordsLeaveTypeEmptyAndCopyMarks()
    {
        TestBank bank;
        db::appendAnswerRecords(bank.db(), u"20260305101112"_s, {{u"q1"_s, 2.5, {}, u"AB"_s, true, true}});
        QSqlQuery r = db::sessionRecords(bank.db(), u"20260305101112"_s);
        QVERIFY(r.next());
        QVERIFY(r.value(u"p_type"_s).isNull());
        QCOMPARE(r.value(u"p_first_answer"_s).toString(), u"AB"_s);
        QVERIFY(r.value(u"p_mask"_s).toBool());
        QVERIFY(r.value(u"p_ok_mask"_s).toBool());
        QCOMPARE(r.value(u"p_score"_s).toDouble(), 2.5);
    }

    void pageIdsAreUniqueWithinOneSecond()
    {
        TestBank bank;
        FakeClock clock(QDateTime(QDate(2026, 3, 5), QTime(9, 8, 7, 250)));
        const QString first = db::newPageId(bank.db(), clock);
        QCOMPARE(first, u"20260305090807"_s);
        const QString second = db::newPageId(bank.db(), clock);
        QCOMPARE(second, u"20260305090808"_s); // waited for the next second
        QCOMPARE(clock.now().time().msec(), 0);

        // An id already used by stored records is skipped as well.
        db::appendAnswerRecords(bank.db(), u"20260305090809"_s, {{u"q"_s, 1, 1, {}, false, false}});
        QCOMPARE(db::newPageId(bank.db(), clock), u"20260305090810"_s);
    }

    void transactionRollsBackOnError()
    {
        TestBank bank;
        try {
            db::Transaction tx(bank.db());
            db::run(bank.db(), u"insert into tmp_id values ('a', 1)"_s);
            db::run(bank.db(), u"insert into no_such_table values (1)"_s);
            tx.commit();
            QFAIL("the bad statement did not throw");
        } catch (const db::Error &e) {
            QVERIFY(!e.message().isEmpty());
        }
        QCOMPARE(bank.count(u"tmp_id"_s), 0);
    }

    void quotesInValuesAreJustCharacters()
    {
        TestBank bank;
        bank.addQuestion(u"c1"_s, u"q'1"_s, 1, u"A"_s);
        db::selectFirstOfType(bank.db(), u"c1"_s, 1, 5);
        QCOMPARE(db::listSelection(bank.db()).value(0).pId, u"q'1"_s);
        db::selectFirstOfType(bank.db(), u"c1' or '1'='1"_s, 1, 5);
        QCOMPARE(bank.count(u"tmp_id"_s), 1);
    }
};

QTEST_GUILESS_MAIN(BankDatabase)
#include "bank_database.moc"

// The study history without a window: grid texts, curve points, course and chapter of a session,
// clearing the records, and the history model's block reading.
#include "db/connection.h"
#include "db/sql.h"
#include "records/historymodel.h"
#include "records/studyhistory.h"
#include "support/testbank.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace records;

namespace {

void addSession(const TestBank &bank, const QString &pageId, const QVariant &right, const QVariant &wrong,
                const QVariant &notDone, const QVariant &done, const QVariant &score = 0.0)
{
    bank.insert(u"page_total"_s, {pageId, right, wrong, notDone, done, u"1分2秒"_s, u"章节练习"_s, score});
}

void addRecord(const TestBank &bank, const QString &pageId, const QString &pId, int type = 1)
{
    bank.insert(u"test_page"_s, {pageId, pId, 0, 0, 0, 0, 0, 0, u""_s, 0, 0, 0, 0, u""_s, 1.0, type});
}

// Two courses with a chapter each and a question in each chapter.
void twoCourses(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"C1"_s, u"第一章 总论"_s, u"M1"_s);
    bank.addChapter(u"C2"_s, u"第二章 会计法律制度"_s, u"M2"_s);
    bank.addQuestion(u"C1"_s, u"P1"_s, 1, u"A"_s);
    bank.addQuestion(u"C1"_s, u"P2"_s, 2, u"AB"_s);
    bank.addQuestion(u"C2"_s, u"P3"_s, 3, u"A"_s);
}

} // namespace

class StudyHistory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pageIdShownAsDateAndMinute_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("shown");
        QTest::newRow("new year's eve") << u"20091231235959"_s << u"09-12-31 23:59"_s;
        QTest::newRow("march") << u"20080305143012"_s << u"08-03-05 14:30"_s;
        QTest::newRow("midnight") << u"20300101000000"_s << u"30-01-01 00:00"_s;
        QTest::newRow("none") << QString() << QString();
    }
    void pageIdShownAsDateAndMinute()
    {
        QFETCH(QString, id);
        QFETCH(QString, shown);
        QCOMPARE(pageIdText(id), shown);
    }

    void rateIsCutNotRounded_data()
    {
        QTest::addColumn<QVariant>("right");
        QTest::addColumn<QVariant>("wrong");
        QTest::addColumn<QString>("shown");
        QTest::newRow("2 of 3") << QVariant(u"2"_s) << QVariant(u"1"_s) << u"66%"_s;
        QTest::newRow("no wrong") << QVariant(u"8"_s) << QVariant(u"0"_s) << u"100%"_s;
        QTest::newRow("nothing judged") << QVariant(u"0"_s) << QVariant(u"0"_s) << u"未完成"_s;
        // 29 / 100 * 100 is 28.999... in floating point.
        QTest::newRow("29 of 100") << QVariant(u"29"_s) << QVariant(u"71"_s) << u"29%"_s;
        QTest::newRow("1 of 7") << QVariant(1) << QVariant(6) << u"14%"_s;
        QTest::newRow("none wrong stored") << QVariant(u"3"_s) << QVariant() << u"100%"_s;
        QTest::newRow("no count of right") << QVariant() << QVariant(u"4"_s) << QString();
    }
    void rateIsCutNotRounded()
    {
        QFETCH(QVariant, right);
        QFETCH(QVariant, wrong);
        QFETCH(QString, shown);
        QCOMPARE(rateText(right, wrong), shown);
    }

    void curveValueOverAllQuestions_data()
    {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("notDone");
        QTest::addColumn<int>("done");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("defined");
        QTest::newRow("8 of 10, 2 unanswered") << 8 << 2 << 8 << 80.0 << true;
        QTest::newRow("not rounded") << 2 << 0 << 3 << 200.0 / 3 << true;
        QTest::newRow("nothing right") << 0 << 5 << 0 << 0.0 << true;
        QTest::newRow("no questions") << 0 << 0 << 0 << 0.0 << false;
        QTest::newRow("right but no questions") << 3 << 0 << 0 << 0.0 << false;
    }
    void curveValueOverAllQuestions()
    {
        QFETCH(int, right);
        QFETCH(int, notDone);
        QFETCH(int, done);
        QFETCH(double, value);
        QFETCH(bool, defined);
        const auto y = curveValue(QString::number(right), QString::number(notDone), QString::number(done));
        QCOMPARE(y.has_value(), defined);
        if (defined)
            QCOMPARE(*y, value);
    }

    void curvePointsNewestFirst()
    {
        TestBank bank;
        QVERIFY(curvePoints(bank.db()).isEmpty());
        // Inserted out of order: the identifier orders them.
        addSession(bank, u"20300102090000"_s, 1, 1, 2, 2);
        addSession(bank, u"20300101090000"_s, 8, 0, 2, 8);
        addSession(bank, u"20300104090000"_s, 0, 0, 0, 0); // counts no question
        addSession(bank, u"20300103090000"_s, 3, 1, 0, 4);
        const QList<CurvePoint> expected = {{2, 75.0, u"2"_s}, {3, 25.0, u"3"_s}, {4, 80.0, u"4"_s}};
        QCOMPARE(curvePoints(bank.db()), expected);
    }

    void courseAndChapterOfASession()
    {
        TestBank bank;
        twoCourses(bank);
        addRecord(bank, u"20300101090000"_s, u"P1"_s);
        addRecord(bank, u"20300101090000"_s, u"P2"_s, 2);
        addRecord(bank, u"20300102090000"_s, u"P3"_s, 3);
        addRecord(bank, u"20300103090000"_s, u"GONE"_s); // question no longer in the bank

        const auto first = courseOf(bank.db(), u"20300101090000"_s);
        QVERIFY(first);
        QCOMPARE(first->course, u"会计基础"_s);
        QCOMPARE(first->chapter, u"第一章 总论"_s);
        const auto second = courseOf(bank.db(), u"20300102090000"_s);
        QVERIFY(second);
        QCOMPARE(second->course, u"财经法规"_s);
        QCOMPARE(second->chapter, u"第二章 会计法律制度"_s);
        QVERIFY(!courseOf(bank.db(), u"20300103090000"_s));
        QVERIFY(!courseOf(bank.db(), u"x' or '1'='1"_s));
    }

    void clearingDeletesEveryRecordButTheWorkingCopy()
    {
        TestBank bank;
        twoCourses(bank);
        addSession(bank, u"20300101090000"_s, 1, 0, 0, 1);
        addSession(bank, u"20300102090000"_s, 0, 1, 0, 1);
        addRecord(bank, u"20300101090000"_s, u"P1"_s);
        addRecord(bank, u"20300102090000"_s, u"P2"_s);
        bank.insert(u"tmp_id"_s, {u"P1"_s, 1.0});
        db::run(bank.db(), u"insert into tmp (c_p_id, page_id) values ('P1', '20300102090000')"_s);
        QCOMPARE(sessionCount(bank.db()), 2);

        clearRecords(bank.db());
        QCOMPARE(bank.count(u"page_total"_s), 0);
        QCOMPARE(bank.count(u"test_page"_s), 0);
        QCOMPARE(bank.count(u"tmp"_s), 1);
        QCOMPARE(bank.count(u"tmp_id"_s), 1);
        QCOMPARE(sessionCount(bank.db()), 0);
    }

    void failedClearLeavesTheRecords()
    {
        TestBank bank;
        addSession(bank, u"20300101090000"_s, 1, 0, 0, 1);
        addRecord(bank, u"20300101090000"_s, u"P1"_s);
        // The second delete fails after the first one went through.
        bank.failWrites(u"keep"_s, u"before delete"_s, u"test_page"_s);
        QVERIFY_THROWS_EXCEPTION(db::Error, clearRecords(bank.db()));
        QCOMPARE(bank.count(u"page_total"_s), 1);
        QCOMPARE(bank.count(u"test_page"_s), 1);
    }

    void modelShowsTheGridColumns()
    {
        TestBank bank;
        addSession(bank, u"20091231235959"_s, u"2"_s, u"1"_s, u"0"_s, u"3"_s, 26.659999999999997);
        bank.insert(u"page_total"_s,
                    {u"20100101080000"_s, u"0"_s, u"0"_s, u"5"_s, u"0"_s, u"0秒"_s, u"随机考试"_s, {}});
        addSession(bank, u"20080101000000"_s, u"1"_s, u"0"_s, u"0"_s, u"1"_s, 7.126);
        HistoryModel model;
        QCOMPARE(model.rowCount(), 0);
        model.reload(bank.db());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 9);
        QStringList titles;
        for (int c = 0; c < model.columnCount(); ++c)
            titles << model.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({u"成绩日期"_s, u"正确题目数"_s, u"错误题目数"_s, u"未完成数量"_s, u"已完成数量"_s,
                                      u"耗用时间"_s, u"成绩得分"_s, u"正确率"_s, u"成绩所属"_s}));
        const auto rowTexts = [&model](int r) {
            QStringList texts;
            for (int c = 0; c < model.columnCount(); ++c)
                texts << model.data(model.index(r, c)).toString();
            return texts;
        };
        QCOMPARE(rowTexts(0), QStringList({u"10-01-01 08:00"_s, u"0"_s, u"0"_s, u"5"_s, u"0"_s, u"0秒"_s, u""_s,
                                           u"未完成"_s, u"随机考试"_s}));
        QCOMPARE(rowTexts(1), QStringList({u"09-12-31 23:59"_s, u"2"_s, u"1"_s, u"0"_s, u"3"_s, u"1分2秒"_s, u"26.66"_s,
                                           u"66%"_s, u"章节练习"_s}));
        QCOMPARE(model.data(model.index(2, HistoryModel::Score)).toString(), u"7.13"_s);
        QCOMPARE(model.pageId(1).toString(), u"20091231235959"_s);
        QCOMPARE(model.data(model.index(0, HistoryModel::Date), Qt::TextAlignmentRole), QVariant());
        QCOMPARE(model.data(model.index(0, HistoryModel::Right), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::Alignment(Qt::AlignCenter));

        model.close();
        QCOMPARE(model.rowCount(), 0);
        QVERIFY(!model.isOpen());
    }

    void modelReadsOnlyTheBlocksAskedFor()
    {
        TestBank bank;
        const int n = 3 * HistoryModel::kBlockRows + 5;
        {
            db::Transaction tx(bank.db());
            const QDateTime start(QDate(2030, 1, 1), QTime(8, 0));
            for (int k = 0; k < n; ++k)
                addSession(bank, start.addSecs(60 * k).toString(u"yyyyMMddhhmmss"_s), k % 5, 1, 0, k % 5 + 1);
            tx.commit();
        }
        HistoryModel model;
        model.reload(bank.db());
        QCOMPARE(model.rowCount(), n);
        QCOMPARE(model.blocksRead(), 0);
        // A session finished after the reload stays out until the next one.
        addSession(bank, u"20350101000000"_s, 1, 0, 0, 1);
        QCOMPARE(model.rowCount(), n);
        QCOMPARE(model.data(model.index(0, 0)).toString(), u"30-01-01 14:28"_s); // the newest: 388 minutes on
        QCOMPARE(model.blocksRead(), 1);
        QCOMPARE(model.data(model.index(n - 1, 0)).toString(), u"30-01-01 08:00"_s);
        QCOMPARE(model.blocksRead(), 2);
        QCOMPARE(model.data(model.index(HistoryModel::kBlockRows, 0)).toString(), u"30-01-01 12:20"_s);
        QCOMPARE(model.blocksRead(), 3);
        // A block of the older half, read from the oldest end: 388 - 300 minutes on.
        QCOMPARE(model.data(model.index(300, 0)).toString(), u"30-01-01 09:28"_s);
        QCOMPARE(model.data(model.index(255, 0)).toString(), u"30-01-01 10:13"_s);
        QCOMPARE(model.data(model.index(256, 0)).toString(), u"30-01-01 10:12"_s);
        QCOMPARE(model.blocksRead(), 4);

        // No statement stays open: another connection can write (and, in the file, check the whole
        // log point in).
        QString error;
        QVERIFY2(bank.openAgain(u"other"_s, &error), qPrintable(error));
        QSqlDatabase other = db::bank(u"other"_s);
        db::run(other, u"insert into page_total (page_id) values ('20400101000000')"_s);
        if (!TestBank::onServer()) {
            QSqlQuery checkpoint = db::run(other, u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
            QVERIFY(checkpoint.next());
            QCOMPARE(checkpoint.value(0).toInt(), 0); // not busy
        }
        // ... and this connection sees that write and can write after it.
        db::run(bank.db(), u"update page_total set p_true='9' where page_id='20400101000000'"_s);
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"other"_s);

        model.reload(bank.db());
        QCOMPARE(model.rowCount(), n + 2);
        QCOMPARE(model.blocksRead(), 0);
        QCOMPARE(model.data(model.index(0, HistoryModel::Right)).toString(), u"9"_s);
        QCOMPARE(model.data(model.index(1, HistoryModel::Date)).toString(), u"35-01-01 00:00"_s);
        QCOMPARE(model.data(model.index(n + 1, HistoryModel::Date)).toString(), u"30-01-01 08:00"_s);
    }
};

QTEST_GUILESS_MAIN(StudyHistory)
#include "study_history.moc"

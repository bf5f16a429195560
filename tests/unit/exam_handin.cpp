// The exam clocks, the hand-in totals and confirmation, the page_total row and the result texts.
#include "exam_fixture.h"

#include "db/sql.h"
#include "exam/examclock.h"
#include "exam/handin.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString buildPaper(const TestBank &bank, const QString &cId)
{
    FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
    return paper::buildFixed(bank.db(), clock, cId).pageId;
}

void setRow(const TestBank &bank, const QString &pageId, const QString &pId, bool done, bool right,
            const QVariant &score = {})
{
    db::run(bank.db(), u"update test_page set p_do_yn=?,p_real_yn=? where page_id=? and p_id=?"_s,
            {done ? 1 : 0, right ? 1 : 0, pageId, pId});
    if (score.isValid())
        db::run(bank.db(), u"update test_page set p_score=? where page_id=? and p_id=?"_s, {score, pageId, pId});
}

} // namespace

class ExamHandIn : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void elapsedText_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0 << u"0秒"_s;
        QTest::newRow("59 s") << 59 << u"59秒"_s;
        QTest::newRow("60 s") << 60 << u"1分0秒"_s;
        QTest::newRow("1 h") << 3600 << u"1小时0分0秒"_s;
        QTest::newRow("1 h 5 min 3 s") << 3903 << u"1小时5分3秒"_s;
    }
    void elapsedText()
    {
        QFETCH(int, ticks);
        QFETCH(QString, text);
        ExamClock clock;
        for (int k = 0; k < ticks; ++k)
            clock.tickElapsed();
        QCOMPARE(clock.elapsedText(), text);
    }

    void countdownReachesExactlyZero()
    {
        ExamClock clock(7200);
        QVERIFY(!clock.tickCountdown());
        QCOMPARE(clock.countdownText(), u"剩余时间: 1:59:59"_s);
        for (int k = 1; k < 7199; ++k)
            QVERIFY(!clock.tickCountdown());
        QCOMPARE(clock.countdownText(), u"剩余时间: 0:0:1"_s);
        QVERIFY(clock.tickCountdown());
        QCOMPARE(clock.countdownText(), u"剩余时间: 0:0:0"_s);
        QCOMPARE(ExamClock::countdownText(3909), u"剩余时间: 1:5:9"_s);
        // What a screen reader says instead of the colons.
        QCOMPARE(clock.spokenCountdown(), u"剩余时间0秒"_s);
        QCOMPARE(ExamClock::spokenCountdown(3909), u"剩余时间1小时5分9秒"_s);
        QCOMPARE(ExamClock::spokenCountdown(61), u"剩余时间1分1秒"_s);
    }

    void confirmationText()
    {
        exam::Totals all;
        QCOMPARE(exam::confirmationText(all), u"确定进行提交试卷吗?"_s);

        exam::Totals t;
        t.notDone = 3;
        t.undoneOfType[1] = 2;
        t.allOfType[1] = 20;
        t.undoneOfType[5] = 1;
        t.allOfType[5] = 2;
        QCOMPARE(exam::confirmationText(t), u"您还有2题类未做\r\n\r\n"
                                            "     1. 单选题有:   2  题未做!                计(  20  题)\r\n"
                                            "     2. 案例题有:   1  题未做!                计(  2  题)\r\n"
                                            "\r\n您确定进行提交试卷吗?"_s);
    }

    void totalsOfASession()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = buildPaper(bank, u"T1"_s);
        setRow(bank, pageId, u"S1"_s, true, true); // 1 mark
        setRow(bank, pageId, u"S2"_s, true, false);
        setRow(bank, pageId, u"M1"_s, true, true);       // 2 marks
        setRow(bank, pageId, u"K1"_s, true, true, 6.66); // earned marks of a calculation
        const exam::Totals t = exam::computeTotals(bank.db(), pageId);
        QCOMPARE(t.done, 4);
        QCOMPARE(t.right, 3);
        QCOMPARE(t.wrong, 5); // unanswered rows count as wrong
        QCOMPARE(t.notDone, 4);
        QCOMPARE(t.score, 9.66);
        QCOMPARE(t.undoneOfType[1], 0);
        QCOMPARE(t.undoneOfType[2], 1);
        QCOMPARE(t.undoneOfType[3], 2);
        QCOMPARE(t.undoneOfType[4], 1);
        QCOMPARE(t.allOfType[4], 2);
        QCOMPARE(t.allOfType[5], 0);
    }

    void caseWithoutMarksAddsNothing()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = buildPaper(bank, u"T2"_s);
        setRow(bank, pageId, u"X1"_s, true, true, QVariant(QMetaType::fromType<double>()));
        setRow(bank, pageId, u"F1"_s, true, true);
        const exam::Totals t = exam::computeTotals(bank.db(), pageId);
        QCOMPARE(t.right, 2);
        QCOMPARE(t.score, 1.0);
    }

    void onePageTotalRowPerSession()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = buildPaper(bank, u"T1"_s);
        exam::Totals t = exam::computeTotals(bank.db(), pageId);
        exam::writePageTotal(bank.db(), pageId, t, u"12分30秒"_s, u"模拟考试"_s);
        setRow(bank, pageId, u"S1"_s, true, true);
        t = exam::computeTotals(bank.db(), pageId);
        exam::writePageTotal(bank.db(), pageId, t, u"1小时12分30秒"_s, u"重新考试"_s);
        QCOMPARE(bank.count(u"page_total"_s), 1);
        QSqlQuery q = db::run(bank.db(), u"select * from page_total"_s);
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), pageId);
        QCOMPARE(q.value(1).toString(), u"1"_s);
        QCOMPARE(q.value(2).toString(), u"7"_s);
        QCOMPARE(q.value(3).toString(), u"7"_s);
        QCOMPARE(q.value(4).toString(), u"1"_s);
        QCOMPARE(q.value(5).toString(), u"1小时12分30秒"_s);
        QCOMPARE(q.value(6).toString(), u"重新考试"_s);
        QCOMPARE(q.value(7).toDouble(), 1.0);
    }

    void failedWriteLeavesNoRow()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = buildPaper(bank, u"T1"_s);
        bank.failWrites(u"refuse"_s, u"before insert"_s, u"page_total"_s);
        QVERIFY_THROWS_EXCEPTION(db::Error, exam::writePageTotal(bank.db(), pageId, {}, u"1秒"_s, u"模拟考试"_s));
        QCOMPARE(bank.count(u"page_total"_s), 0);
    }

    // A review hands in with question_total = the reviewed rows only; the unanswered count still
    // comes from the session's rows and never goes below zero.
    void unansweredNeverNegative()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QString pageId = buildPaper(bank, u"T1"_s);
        for (const QString &pId : {u"S1"_s, u"S2"_s, u"M1"_s, u"M2"_s, u"J1"_s})
            setRow(bank, pageId, pId, true, true);
        const exam::Totals t = exam::computeTotals(bank.db(), pageId);
        QCOMPARE(t.notDone, 3);
        const exam::ExamResult r = exam::resultOf(t, {u"重新考试"_s, u"会计基础"_s, u"试卷"_s, 2, u"1秒"_s, {}, 7});
        QCOMPARE(r.questionCount, u"2 题"_s);
        QCOMPARE(r.notDone, u"3 题"_s);
        exam::writePageTotal(bank.db(), pageId, t, u"1秒"_s, u"重新考试"_s);
        QCOMPARE(db::scalar(bank.db(), u"select p_nothing from page_total"_s).toString(), u"3"_s);
    }

    void resultTexts_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("score");
        QTest::addColumn<double>("full");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("fixed") << u"模拟考试"_s << 87.5 << 100.0
                               << QStringList{u"会计基础"_s, u"试卷一"_s, u"87.5 分"_s, u"100 分"_s, u"87.5%"_s};
        QTest::newRow("random") << u"随机考试"_s << 2.0 << 3.0
                                << QStringList{u"随机课程"_s, u"随机试卷"_s, u"2 分"_s, u"3 分"_s, u"66.7%"_s};
        QTest::newRow("no full marks") << u"模拟考试"_s << 0.0 << 0.0
                                       << QStringList{u"会计基础"_s, u"试卷一"_s, u"0 分"_s, u"0 分"_s, u"0.0%"_s};
        // 20 one-mark answers and two sub-item shares of 3.33, summed in floating point: 26.659999999999997.
        QTest::newRow("sum with a binary tail")
            << u"模拟考试"_s << 20.0 + 3.33 + 3.33 << 20.0 + 3.33 + 3.33 + 3.34 // full: 29.999999999999996
            << QStringList{u"会计基础"_s, u"试卷一"_s, u"26.66 分"_s, u"30 分"_s, u"88.9%"_s};
    }
    void resultTexts()
    {
        QFETCH(QString, kind);
        QFETCH(double, score);
        QFETCH(double, full);
        QFETCH(QStringList, texts);
        exam::Totals t;
        t.done = 3;
        t.right = 2;
        t.wrong = 5;
        t.notDone = 4;
        t.score = score;
        const exam::ExamResult r =
            exam::resultOf(t, {kind, u"会计基础"_s, u"试卷一"_s, 7, u"5分2秒"_s, u"2024-05-01 09:30:00"_s, full});
        QCOMPARE((QStringList{r.course, r.paper, r.score, r.fullMarks, r.rate}), texts);
        QCOMPARE((QStringList{r.questionCount, r.time, r.start, r.done, r.notDone, r.right, r.wrong}),
                 (QStringList{u"7 题"_s, u"5分2秒"_s, u"2024-05-01 09:30:00"_s, u"3 题"_s, u"4 题"_s, u"2 题"_s,
                              u"5 题"_s}));
    }
};

QTEST_GUILESS_MAIN(ExamHandIn)
#include "exam_handin.moc"

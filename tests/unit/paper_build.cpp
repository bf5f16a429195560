// Mock-exam setup: courses, papers and their information lines, fixed and random paper builds,
// and what the instructions window shows of a built session.
#include "exam_fixture.h"

#include "db/sql.h"
#include "session/papersession.h"
#include "shell/clock.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList recordIds(const TestBank &bank, const QString &pageId)
{
    QStringList out;
    QSqlQuery q = db::run(bank.db(), u"select p_id from test_page where page_id=? order by {rowid}"_s, {pageId});
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// A course whose papers hold the given numbers of questions per type 1..6, half in each of two
// papers, and a practice chapter with more single-choice questions that must never be drawn.
void poolBank(const TestBank &bank, const QString &courseName, const QList<int> &perType)
{
    bank.addCourse(u"R"_s, courseName);
    bank.addChapter(u"RA"_s, u"试卷甲"_s, u"R"_s, u"2"_s);
    bank.addChapter(u"RB"_s, u"试卷乙"_s, u"R"_s, u"2"_s);
    bank.addChapter(u"RC"_s, u"练习章节"_s, u"R"_s, u"1"_s);
    for (int type = 1; type <= 6; ++type) {
        for (int k = 0; k < perType.value(type - 1); ++k) {
            const QString cId = k % 2 ? u"RA"_s : u"RB"_s;
            const QString pId = u"R%1_%2"_s.arg(type).arg(k, 3, 10, QLatin1Char('0'));
            if (type <= 3)
                bank.addQuestion(cId, pId, type, u"A"_s, type == 2 ? 2 : 1);
            else if (type == 4)
                examfixture::addCalc(bank, cId, pId, {u"100"_s}, true);
            else if (type == 5)
                bank.addCase(cId, pId, 2, 5);
            else
                examfixture::addPractical(bank, cId, pId);
        }
    }
    for (int k = 0; k < 30; ++k)
        bank.addQuestion(u"RC"_s, u"RX%1"_s.arg(k), 1, u"A"_s);
}

} // namespace

class PaperBuild : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fourthTypeByCourseName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("line");
        QTest::newRow("basics") << u"会计基础"_s << 4 << u"计算分析题:"_s << u" 2 大题,共20分"_s;
        QTest::newRow("law") << u"财经法规与会计职业道德"_s << 5 << u"案例分析题:"_s << u" 2 大题,共20分"_s;
        QTest::newRow("computing") << u"初级会计电算化"_s << 6 << u"实务操作题:"_s << u" 15 题,每题4分"_s;
        QTest::newRow("none") << u"珠算"_s << 0 << QString() << QString();
        // The type test stops at the first match; the information line takes the last one.
        QTest::newRow("both") << u"会计基础与电算"_s << 4 << u"实务操作题:"_s << u" 15 题,每题4分"_s;
    }
    void fourthTypeByCourseName()
    {
        QFETCH(QString, name);
        QFETCH(int, type);
        QFETCH(QString, label);
        QFETCH(QString, line);
        QCOMPARE(paper::randomFourthType(name), type);
        QCOMPARE(paper::fourthLine(name).name, label);
        QCOMPARE(paper::fourthLine(name).line, line);
    }

    void papersOfACourse()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        const QList<paper::Paper> papers = paper::papers(bank.db(), u"M1"_s);
        QCOMPARE(papers.size(), 2); // the practice chapter is not a paper
        QCOMPARE(papers.at(0).cId, u"T1"_s);
        QVERIFY(paper::papers(bank.db(), u"M1' or '1'='1"_s).isEmpty());
    }

    void paperInformationLines_data()
    {
        QTest::addColumn<QString>("cId");
        QTest::addColumn<QString>("course");
        QTest::addColumn<int>("total");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("calculation") << u"T1"_s << u"会计基础"_s << 8
                                     << QStringList{u"2  题,每题1分"_s, u"2  题,每题2分"_s, u"2  题,每题1分"_s,
                                                    u"2 大题,每题10分"_s};
        QTest::newRow("case") << u"T2"_s << u"财经法规"_s << 4
                              << QStringList{u"2  题,每题1分"_s, u"0  题,每题2分"_s, u"0  题,每题1分"_s,
                                             u"2  大题,每题10分"_s};
        QTest::newRow("practical") << u"T3"_s << u"初级会计电算化"_s << 3
                                   << QStringList{u"1  题,每题1分"_s, u"0  题,每题2分"_s, u"0  题,每题1分"_s,
                                                  u"2  题,每题4分"_s};
        QTest::newRow("empty") << u"T9"_s << u"会计基础"_s << 0
                               << QStringList{u"0 题"_s, u"0 题"_s, u"0 题"_s, u"0 题"_s};
    }
    void paperInformationLines()
    {
        QFETCH(QString, cId);
        QFETCH(QString, course);
        QFETCH(int, total);
        QFETCH(QStringList, lines);
        TestBank bank;
        examfixture::smallBank(bank);
        const paper::PaperInfo info = paper::paperInfo(bank.db(), cId);
        QVERIFY(info.found);
        QCOMPARE(info.course, course);
        QCOMPARE(info.total, total);
        QCOMPARE((QStringList{info.single, info.multiple, info.judge, info.fourth}), lines);
    }

    void fixedPaperInTypeAndQuestionOrder()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Built built = paper::buildFixed(bank.db(), clock, u"T1"_s);
        QCOMPARE(built.pageId, u"20240501093000"_s);
        QCOMPARE(built.questionTotal, 8);
        QCOMPARE(recordIds(bank, built.pageId),
                 (QStringList{u"S1"_s, u"S2"_s, u"M1"_s, u"M2"_s, u"J1"_s, u"J2"_s, u"K1"_s, u"K2"_s}));
        QCOMPARE(db::scalar(bank.db(), u"select p_score from test_page where p_id='M2'"_s).toDouble(), 2.0);
        QCOMPARE(db::scalar(bank.db(), u"select p_type from test_page where p_id='K2'"_s).toInt(), 4);
        QCOMPARE(bank.count(u"test_page"_s, u"p_answer='' and p_first_answer='' and p_do_yn=0"_s), 8);
        // Exam copy: one tmp row per question with only its id and the check-later flag.
        QCOMPARE(bank.count(u"tmp"_s), 8);
        QCOMPARE(bank.count(u"tmp"_s, u"m_down='false' and page_id is null"_s), 8);

        // The next build in the same second gets the next second's id and replaces tmp.
        const paper::Built again = paper::buildFixed(bank.db(), clock, u"T2"_s);
        QCOMPARE(again.pageId, u"20240501093001"_s);
        QCOMPARE(bank.count(u"tmp"_s), 4);
        QCOMPARE(bank.count(u"test_page"_s), 12);
    }

    void failedBuildLeavesNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("records") << u"test_page"_s << u"建立临时题库出错..."_s;
        QTest::newRow("exam copy") << u"tmp"_s << u"建立临时通用题库出错..."_s;
    }
    void failedBuildLeavesNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, message);
        TestBank bank;
        examfixture::smallBank(bank);
        db::run(bank.db(), u"insert into tmp (c_p_id,m_down) values ('OLD','true')"_s);
        bank.failWrites(u"refuse"_s, u"before insert"_s, table);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        try {
            paper::buildFixed(bank.db(), clock, u"T1"_s);
            QFAIL("the build did not fail");
        } catch (const paper::BuildError &e) {
            QCOMPARE(e.message(), message);
        }
        QCOMPARE(bank.count(u"test_page"_s), 0);
        QCOMPARE(bank.count(u"tmp"_s, u"c_p_id='OLD'"_s), 1); // the previous working copy is untouched
    }

    void drawDistinctRows_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("pool");
        QTest::newRow("quota of a large pool") << 20 << 50;
        QTest::newRow("whole pool") << 20 << 20;
        QTest::newRow("pool smaller than quota") << 20 << 12;
        QTest::newRow("single") << 2 << 1;
        QTest::newRow("empty pool") << 15 << 0;
    }
    void drawDistinctRows()
    {
        QFETCH(int, n);
        QFETCH(int, pool);
        for (quint32 seed = 1; seed <= 20; ++seed) {
            QRandomGenerator rng(seed);
            const QList<int> rows = paper::drawDistinct(n, pool, rng);
            QCOMPARE(rows.size(), qMin(n, pool));
            QCOMPARE(QSet<int>(rows.begin(), rows.end()).size(), rows.size());
            for (const int r : rows)
                QVERIFY(r >= 1 && r <= pool);
        }
    }

    void randomPaperQuotas_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<QList<int>>("pool");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("basics") << u"会计基础"_s << QList<int>{50, 12, 25, 3, 2, 0} << QList<int>{20, 12, 20, 2, 0, 0};
        QTest::newRow("law") << u"财经法规"_s << QList<int>{20, 20, 20, 4, 5, 0} << QList<int>{20, 20, 20, 0, 2, 0};
        QTest::newRow("computing, other fourth types ignored")
            << u"初级会计电算化"_s << QList<int>{21, 5, 0, 3, 3, 40} << QList<int>{20, 5, 0, 0, 0, 15};
        QTest::newRow("small pools") << u"会计基础"_s << QList<int>{1, 0, 2, 1, 0, 0} << QList<int>{1, 0, 2, 1, 0, 0};
        QTest::newRow("no fourth type") << u"珠算"_s << QList<int>{3, 3, 3, 3, 3, 3} << QList<int>{3, 3, 3, 0, 0, 0};
    }
    void randomPaperQuotas()
    {
        QFETCH(QString, course);
        QFETCH(QList<int>, pool);
        QFETCH(QList<int>, expected);
        TestBank bank;
        poolBank(bank, course, pool);
        FakeClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0)));
        QRandomGenerator rng(7);
        const paper::Built built = paper::buildRandom(bank.db(), clock, u"R"_s, course, rng);
        int total = 0;
        for (int type = 1; type <= 6; ++type) {
            QCOMPARE(bank.count(u"test_page"_s, u"page_id=? and p_type=?"_s, {built.pageId, type}), expected.at(type - 1));
            total += expected.at(type - 1);
        }
        QCOMPARE(built.questionTotal, total);
        QCOMPARE(built.drawOrder.size(), total);
        // Each question at most once, none from the practice chapter, one tmp row each.
        QCOMPARE(db::scalar(bank.db(), u"select count(distinct p_id) from test_page"_s).toInt(), total);
        QCOMPARE(bank.count(u"test_page"_s, u"p_id like 'RX%'"_s), 0);
        QCOMPARE(bank.count(u"tmp"_s, u"m_down='false'"_s), total);
    }

    void randomPapersDiffer()
    {
        TestBank bank;
        poolBank(bank, u"会计基础"_s, {60, 60, 60, 10, 0, 0});
        FakeClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0)));
        QRandomGenerator first(1), second(2);
        const paper::Built a = paper::buildRandom(bank.db(), clock, u"R"_s, u"会计基础"_s, first);
        const paper::Built b = paper::buildRandom(bank.db(), clock, u"R"_s, u"会计基础"_s, second);
        QVERIFY(a.pageId != b.pageId);
        QVERIFY(recordIds(bank, a.pageId) != recordIds(bank, b.pageId));
    }

    void randomPaperWithoutQuestionsIsRefused()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        bank.addCourse(u"M4"_s, u"会计基础(无试卷题)"_s);
        bank.addChapter(u"E1"_s, u"空试卷"_s, u"M4"_s, u"2"_s);
        FakeClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0, 0)));
        QRandomGenerator rng(3);
        QVERIFY_THROWS_EXCEPTION(paper::BuildError,
                                 paper::buildRandom(bank.db(), clock, u"M4"_s, u"会计基础(无试卷题)"_s, rng));
        QCOMPARE(bank.count(u"test_page"_s), 0);
    }

    void instructionsBrief_data()
    {
        QTest::addColumn<QString>("cId");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<QString>("fourthName");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("total");
        QTest::newRow("calculation counts four each")
            << u"T1"_s << QList<int>{2, 2, 2, 8} << QStringList{u"2"_s, u"4"_s, u"2"_s, u"20"_s} << u"计算分析题"_s
            << u"skin/logon-3-1.jpg"_s << u"28"_s;
        QTest::newRow("case counts sub-questions")
            << u"T2"_s << QList<int>{2, 0, 0, 3} << QStringList{u"2"_s, u"0"_s, u"0"_s, u"6"_s} << u"案例分析题"_s
            << u"skin/logon-3-2.jpg"_s << u"8"_s;
        QTest::newRow("practical") << u"T3"_s << QList<int>{1, 0, 0, 2} << QStringList{u"1"_s, u"0"_s, u"0"_s, u"8"_s}
                                   << u"实务操作题"_s << u"skin/logon-3-3.jpg"_s << u"9"_s;
    }
    void instructionsBrief()
    {
        QFETCH(QString, cId);
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, marks);
        QFETCH(QString, fourthName);
        QFETCH(QString, picture);
        QFETCH(QString, total);
        TestBank bank;
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Brief b = paper::brief(bank.db(), paper::buildFixed(bank.db(), clock, cId).pageId);
        QCOMPARE((QList<int>{b.counts[0], b.counts[1], b.counts[2], b.fourthCount}), counts);
        QCOMPARE((QStringList{b.marks[0], b.marks[1], b.marks[2], b.fourthMarks}), marks);
        QCOMPARE(b.fourthName, fourthName);
        QCOMPARE(b.picture, picture);
        QCOMPARE(b.totalText, total);
    }

    void briefWithoutFourthType()
    {
        TestBank bank;
        bank.addCourse(u"M"_s, u"会计基础"_s);
        bank.addChapter(u"P"_s, u"试卷"_s, u"M"_s, u"2"_s);
        bank.addQuestion(u"P"_s, u"A1"_s, 1, u"A"_s, 1.5);
        bank.addQuestion(u"P"_s, u"A2"_s, 3, u"A"_s, 0.333);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Brief b = paper::brief(bank.db(), paper::buildFixed(bank.db(), clock, u"P"_s).pageId);
        QCOMPARE(b.fourthType, 0);
        QVERIFY(b.picture.isEmpty());
        QCOMPARE(b.marks[1], u"0"_s); // an empty sum reads "0"
        QCOMPARE(b.totalText, u"1.83"_s);
    }

    // Per-type marks and the total are sums in floating point (0.1 + 0.2 = 0.30000000000000004);
    // the page shows them as the rounded decimals.
    void briefMarksAreRoundedDecimals()
    {
        TestBank bank;
        bank.addCourse(u"M"_s, u"会计基础"_s);
        bank.addChapter(u"P"_s, u"试卷"_s, u"M"_s, u"2"_s);
        bank.addQuestion(u"P"_s, u"A1"_s, 1, u"A"_s, 0.1);
        bank.addQuestion(u"P"_s, u"A2"_s, 1, u"A"_s, 0.2);
        for (const QString &pId : {u"B1"_s, u"B2"_s, u"B3"_s})
            bank.addQuestion(u"P"_s, pId, 2, u"AB"_s, 1.1);
        examfixture::addCalc(bank, u"P"_s, u"K1"_s, {u"1"_s}, true, 3.33);
        examfixture::addCalc(bank, u"P"_s, u"K2"_s, {u"1"_s}, true, 3.33);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const paper::Brief b = paper::brief(bank.db(), paper::buildFixed(bank.db(), clock, u"P"_s).pageId);
        QCOMPARE((QStringList{b.marks[0], b.marks[1], b.marks[2], b.fourthMarks}),
                 (QStringList{u"0.3"_s, u"3.3"_s, u"0"_s, u"6.66"_s}));
        QCOMPARE(b.totalText, u"10.26"_s);
    }
};

QTEST_GUILESS_MAIN(PaperBuild)
#include "paper_build.moc"

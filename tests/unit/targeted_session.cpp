// Targeted practice without widgets: the three selections over the answer records, the counts and
// their texts, the start rule and the session build.
#include "db/schema.h"
#include "db/sql.h"
#include "session/targetedsession.h"
#include "shell/clock.h"
#include "support/testbank.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace session;

namespace {

const QDate kToday(2026, 12, 10);

// An answer record whose last and first answers are both firstAnswer.
void addRecord(const TestBank &bank, const QString &pageId, const QString &pId, bool done = false, bool right = false,
               bool mask = false, bool okMask = false, const QString &firstAnswer = {}, double score = 1)
{
    bank.insert(u"test_page"_s, {pageId, pId, 0, 0, 0, 0, 0, 0, firstAnswer, done ? 1 : 0, right ? 1 : 0, mask ? 1 : 0,
                                 okMask ? 1 : 0, firstAnswer, score, 1});
}

// Course M1 "会计基础": chapter C1 with Q01, Q02 (single), Q03 (multiple), Q04 (true/false), Q05
// (calculation), Q06 (case, three sub-questions); paper C2 with Q07. Course M2 with Q08.
void fillBank(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    bank.addChapter(u"C2"_s, u"模拟试卷一"_s, u"M1"_s, u"2"_s);
    bank.addChapter(u"C3"_s, u"第一章"_s, u"M2"_s);
    bank.addQuestion(u"C1"_s, u"Q01"_s, 1, u"A"_s);
    bank.addQuestion(u"C1"_s, u"Q02"_s, 1, u"B"_s);
    bank.addQuestion(u"C1"_s, u"Q03"_s, 2, u"AB"_s, 2);
    bank.addQuestion(u"C1"_s, u"Q04"_s, 3, u"A"_s);
    bank.insert(u"ex_page_id"_s, {u"C1"_s, u"Q05"_s, u"4"_s, u"计算 Q05"_s, u"100"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s,
                                  u"-"_s, u"100/-/-/-/-/-"_s, u"解析"_s, 1, 0, 10.0});
    bank.addCase(u"C1"_s, u"Q06"_s, 3);
    bank.addQuestion(u"C2"_s, u"Q07"_s, 1, u"C"_s);
    bank.addQuestion(u"C3"_s, u"Q08"_s, 1, u"D"_s);
}

QStringList ids(const QList<TargetedRecord> &records)
{
    QStringList out;
    for (const TargetedRecord &r : records)
        out << r.pId;
    return out;
}

TargetedQuery query(TargetedMode mode, const QString &course = u"M1"_s)
{
    TargetedQuery q;
    q.mode = mode;
    q.courseId = course;
    q.today = kToday;
    return q;
}

} // namespace

class TargetedSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void searchText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("blank");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("plain") << u"会计"_s << false << u"%会计%"_s;
        QTest::newRow("blanks kept") << u" 会计 "_s << false << u"% 会计 %"_s;
        QTest::newRow("percent") << u"50%"_s << false << u"%50\\%%"_s;
        QTest::newRow("underscore") << u"a_b"_s << false << u"%a\\_b%"_s;
        QTest::newRow("backslash") << u"c:\\x"_s << false << u"%c:\\\\x%"_s;
        QTest::newRow("quote") << u"O'Neil"_s << false << u"%O'Neil%"_s;
        QTest::newRow("blanks only") << u"   "_s << true << u"%   %"_s;
        QTest::newRow("ideographic blank") << u"\u3000"_s << true << u"%\u3000%"_s;
        QTest::newRow("empty") << QString() << true << u"%%"_s;
    }
    void searchText()
    {
        QFETCH(QString, text);
        QFETCH(bool, blank);
        QFETCH(QString, pattern);
        QCOMPARE(isBlankSearch(text), blank);
        QCOMPARE(searchPattern(text), pattern);
    }

    // Stems with the characters LIKE treats specially: each is found by exactly the stems holding it.
    void searchFindsExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("percent") << u"50%"_s << QStringList{u"S1"_s};
        QTest::newRow("digits") << u"50"_s << QStringList{u"S1"_s, u"S2"_s};
        QTest::newRow("underscore") << u"_"_s << QStringList{u"S3"_s};
        QTest::newRow("quote") << u"'"_s << QStringList{u"S5"_s};
        QTest::newRow("backslash") << u"\\"_s << QStringList{u"S6"_s};
        QTest::newRow("as typed, blank included") << u"c: "_s << QStringList{u"S7"_s};
        QTest::newRow("none") << u"利润率50%以下"_s << QStringList{};
        QTest::newRow("only answered questions") << u"未做"_s << QStringList{};
    }
    void searchFindsExactly()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        TestBank bank;
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        const QStringList stems = {u"利润率50%以上"_s, u"利润率50以上"_s, u"a_b科目"_s,   u"axb科目"_s,
                                   u"O'Neil公司"_s,    u"路径c:\\tmp"_s,  u"路径c: tmp"_s};
        for (int k = 0; k < stems.size(); ++k) {
            const QString pId = u"S%1"_s.arg(k + 1);
            bank.insert(u"ex_page_id"_s, {u"C1"_s, pId, u"1"_s, stems.at(k), u"甲"_s, u"乙"_s, u"-"_s, u"-"_s, u"-"_s,
                                          u"-"_s, u"A"_s, u""_s, 0, 0, 1.0});
            addRecord(bank, u"20261201080000"_s, pId);
        }
        bank.addQuestion(u"C1"_s, u"S9"_s, 1, u"A"_s); // never answered: "题干 S9"
        bank.insert(u"ex_page_id"_s, {u"C1"_s, u"S8"_s, u"1"_s, u"未做的题"_s, u"甲"_s, u"乙"_s, u"-"_s, u"-"_s, u"-"_s,
                                      u"-"_s, u"A"_s, u""_s, 0, 0, 1.0});
        TargetedQuery q = query(TargetedMode::Search);
        q.searchText = text;
        QCOMPARE(ids(selectTargeted(bank.db(), q)), found);
    }

    void essenceNewestMarkedRecord()
    {
        TestBank bank;
        fillBank(bank);
        // Q01 marked in two sessions, then met again unmarked: the newer marked record counts.
        addRecord(bank, u"20261201080000"_s, u"Q01"_s, true, false, false, true, u"B"_s);
        addRecord(bank, u"20261205080000"_s, u"Q01"_s, true, true, true, true, u"A"_s);
        addRecord(bank, u"20261208080000"_s, u"Q01"_s, true, false, false, false, u"C"_s);
        addRecord(bank, u"20261201080000"_s, u"Q03"_s, false, false, false, false, u""_s);
        addRecord(bank, u"20261201080000"_s, u"Q07"_s, true, true, false, true, u"C"_s); // paper question
        addRecord(bank, u"20261201080000"_s, u"Q08"_s, true, true, false, true, u"D"_s); // other course

        const QList<TargetedRecord> found = selectTargeted(bank.db(), query(TargetedMode::Essence));
        QCOMPARE(ids(found), (QStringList{u"Q01"_s, u"Q07"_s}));
        QCOMPARE(found.at(0).pageId, u"20261205080000"_s);
        QCOMPARE(found.at(0).firstAnswer, u"A"_s);
        QVERIFY(found.at(0).mask);
        QVERIFY(found.at(0).okMask);
        QCOMPARE(ids(selectTargeted(bank.db(), query(TargetedMode::Essence, u"M2"_s))), QStringList{u"Q08"_s});
    }

    void wrongByPeriod_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("today") << int(WrongPeriod::Today) << QStringList{u"Q02"_s};
        QTest::newRow("week") << int(WrongPeriod::LastWeek) << QStringList{u"Q01"_s, u"Q02"_s, u"Q03"_s};
        QTest::newRow("month") << int(WrongPeriod::LastMonth)
                               << QStringList{u"Q01"_s, u"Q02"_s, u"Q07"_s, u"Q03"_s, u"Q04"_s};
        QTest::newRow("all") << int(WrongPeriod::All)
                             << QStringList{u"Q01"_s, u"Q02"_s, u"Q07"_s, u"Q03"_s, u"Q04"_s, u"Q05"_s};
    }
    void wrongByPeriod()
    {
        QFETCH(int, period);
        QFETCH(QStringList, found);
        TestBank bank;
        fillBank(bank);
        // Q01 wrong yesterday, right today: its latest wrong record is yesterday's.
        addRecord(bank, u"20261209150000"_s, u"Q01"_s, true, false);
        addRecord(bank, u"20261210090000"_s, u"Q01"_s, true, true);
        addRecord(bank, u"20261210000000"_s, u"Q02"_s, true, false);
        addRecord(bank, u"20261203000001"_s, u"Q03"_s, true, false);  // 7 days ago
        addRecord(bank, u"20261202235959"_s, u"Q04"_s, true, false);  // 8 days ago
        addRecord(bank, u"20261110080000"_s, u"Q07"_s, true, false);  // 30 days ago
        addRecord(bank, u"20261109235959"_s, u"Q05"_s, true, false);  // 31 days ago
        addRecord(bank, u"20261210100000"_s, u"Q06"_s, false, false); // not answered
        addRecord(bank, u"20261210100000"_s, u"Q08"_s, true, false);  // other course
        TargetedQuery q = query(TargetedMode::Wrong);
        q.period = WrongPeriod(period);
        QCOMPARE(ids(selectTargeted(bank.db(), q)), found);
    }

    void wrongAllTakesLatestWrongRecord()
    {
        TestBank bank;
        fillBank(bank);
        addRecord(bank, u"20261209150000"_s, u"Q01"_s, true, false, true, false, u"C"_s);
        addRecord(bank, u"20261210090000"_s, u"Q01"_s, true, true, false, false, u"A"_s);
        TargetedQuery q = query(TargetedMode::Wrong);
        q.period = WrongPeriod::All;
        const QList<TargetedRecord> found = selectTargeted(bank.db(), q);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.at(0).pageId, u"20261209150000"_s);
        QCOMPARE(found.at(0).firstAnswer, u"C"_s);
    }

    void periodLabelTexts()
    {
        const PeriodLabels labels = periodLabels(QDate(2026, 3, 2));
        QCOMPARE(labels.today, u"2026-03-02"_s);
        QCOMPARE(labels.week, u"(从2026-02-23到今天)"_s);
        QCOMPARE(labels.month, u"(从2026-01-31到今天)"_s);
    }

    void storeSelectionCountsPerType()
    {
        TestBank bank;
        fillBank(bank);
        bank.insert(u"tmp_id"_s, {u"OLD"_s, 1.0});
        for (const QString &p : {u"Q01"_s, u"Q02"_s, u"Q03"_s, u"Q05"_s, u"Q06"_s, u"Q07"_s})
            addRecord(bank, u"20261201080000"_s, p, true, false, false, true, u"X"_s, 3);
        // A question met twice in one session is one question of the selection, in the counts too.
        addRecord(bank, u"20261201080000"_s, u"Q01"_s, true, false, false, true, u"Y"_s, 3);
        const TargetedCounts counts = storeSelection(bank.db(), query(TargetedMode::Essence));
        QCOMPARE(counts.total, 6);
        QCOMPARE(QList<int>(counts.perType.begin(), counts.perType.end()), (QList<int>{0, 3, 1, 0, 1, 1, 0}));
        QCOMPARE(bank.count(u"tmp_id"_s), 6);
        QCOMPARE(bank.count(u"tmp_id"_s, u"p_id='OLD'"_s), 0);
        QCOMPARE(bank.count(u"tmp_id"_s, u"p_score=3"_s), 6);
    }

    void countLines_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("course");
        QTest::addColumn<QList<int>>("perType");
        QTest::addColumn<QStringList>("lines"); // single, multiple, judge, fourth name, fourth line
        using A = QList<int>;
        QTest::newRow("basics, essence") << int(TargetedMode::Essence) << u"会计基础"_s << A{0, 3, 1, 0, 2, 0, 0}
                                         << QStringList{u"3 题,每题1分"_s, u"1 题,每题2分"_s, u"0 题,每题1分"_s,
                                                        u"计算分析题:"_s, u"2 大题,每题10分"_s};
        QTest::newRow("basics, wrong") << int(TargetedMode::Wrong) << u"会计基础"_s << A{0, 1, 0, 0, 2, 0, 0}
                                       << QStringList{u"1 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s,
                                                      u"计算分析题:"_s, u"2 大题,共20分"_s};
        QTest::newRow("law, search") << int(TargetedMode::Search) << u"财经法规"_s << A{0, 1, 0, 0, 0, 4, 0}
                                     << QStringList{u"1 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s,
                                                    u"案例分析题:"_s, u"4 题,每题10分"_s};
        QTest::newRow("law, wrong") << int(TargetedMode::Wrong) << u"财经法规"_s << A{0, 1, 0, 0, 0, 1, 0}
                                    << QStringList{u"1 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s,
                                                   u"案例分析题:"_s, u"1 大题,共20分"_s};
        QTest::newRow("computing, wrong") << int(TargetedMode::Wrong) << u"会计电算化"_s << A{0, 0, 0, 1, 0, 0, 2}
                                          << QStringList{u"0 题,每题1分"_s, u"0 题,每题2分"_s, u"1 题,每题1分"_s,
                                                         u"实务操作题:"_s, u"2 题,每题4分"_s};
        QTest::newRow("no fourth type") << int(TargetedMode::Essence) << u"税法"_s << A{0, 1, 0, 0, 0, 0, 0}
                                        << QStringList{u"1 题,每题1分"_s, u"0 题,每题2分"_s, u"0 题,每题1分"_s,
                                                       QString(), QString()};
        QTest::newRow("nothing, essence") << int(TargetedMode::Essence) << u"会计基础"_s << A(7, 0)
                                          << QStringList{u"0 题"_s, u"0 题"_s, u"0 题"_s, u"计算分析题:"_s, u"0 题"_s};
        QTest::newRow("nothing, wrong") << int(TargetedMode::Wrong) << u"会计基础"_s << A(7, 0)
                                        << QStringList{u"0题"_s, u"0题"_s, u"0题"_s, u"计算分析题:"_s, u"0 题"_s};
    }
    void countLines()
    {
        QFETCH(int, mode);
        QFETCH(QString, course);
        QFETCH(QList<int>, perType);
        QFETCH(QStringList, lines);
        TargetedCounts counts;
        for (int t = 0; t < 7; ++t) {
            counts.perType[t] = perType.at(t);
            counts.total += perType.at(t);
        }
        const TargetedLines l = targetedLines(TargetedMode(mode), course, counts);
        QCOMPARE((QStringList{l.single, l.multiple, l.judge, l.fourthName, l.fourthLine}), lines);
    }

    void startRule_data()
    {
        QTest::addColumn<int>("howMany");
        QTest::addColumn<int>("startFrom");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("corrected");
        QTest::newRow("beyond") << 5 << 8 << 1 << true;
        QTest::newRow("last one") << 5 << 5 << 5 << false;
        QTest::newRow("first") << 10 << 1 << 1 << false;
        QTest::newRow("inside") << 10 << 4 << 4 << false;
    }
    void startRule()
    {
        QFETCH(int, howMany);
        QFETCH(int, startFrom);
        QFETCH(int, start);
        QFETCH(bool, corrected);
        bool c = !corrected;
        QCOMPARE(startIndex(howMany, startFrom, &c), start);
        QCOMPARE(c, corrected);
    }

    // Essence and wrong-question sessions keep the record's first answer, mark and essence flags;
    // the search starts afresh. No session writes the type.
    void buildCopiesRecords_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("firstAnswer");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("okMask");
        QTest::addColumn<QString>("pageId"); // the clock's time; session ids are never issued twice
        QTest::newRow("essence") << int(TargetedMode::Essence) << u"C"_s << 1 << 1 << u"20261210093000"_s;
        QTest::newRow("search") << int(TargetedMode::Search) << u""_s << 0 << 0 << u"20261210094500"_s;
    }
    void buildCopiesRecords()
    {
        QFETCH(int, mode);
        QFETCH(QString, firstAnswer);
        QFETCH(int, mask);
        QFETCH(int, okMask);
        QFETCH(QString, pageId);
        TestBank bank;
        fillBank(bank);
        addRecord(bank, u"20261201080000"_s, u"Q02"_s, true, false, true, true, u"C"_s, 1);
        addRecord(bank, u"20261201080000"_s, u"Q05"_s, true, true, true, true, u"100/-/-/-/-/-"_s, 4);
        FakeClock clock(QDateTime::fromString(pageId, u"yyyyMMddHHmmss"_s));
        TargetedQuery q = query(TargetedMode(mode));
        q.searchText = u"Q0"_s;
        const TargetedBuild built = buildTargetedSession(bank.db(), clock, q, 10);
        QCOMPARE(built.pageId, pageId);
        QCOMPARE(built.questionTotal, 2);
        QSqlQuery r = db::run(bank.db(),
                              u"select p_id,p_answer,p_do_yn,p_real_yn,p_mask,p_ok_mask,p_first_answer,p_score,"
                              "p_type from test_page where page_id=? order by p_id"_s,
                              {built.pageId});
        QVERIFY(r.next());
        QCOMPARE(r.value(0).toString(), u"Q02"_s);
        QCOMPARE(r.value(1).toString(), u""_s);
        QCOMPARE(r.value(2).toInt(), 0);
        QCOMPARE(r.value(3).toInt(), 0);
        QCOMPARE(r.value(4).toInt(), mask);
        QCOMPARE(r.value(5).toInt(), okMask);
        QCOMPARE(r.value(6).toString(), firstAnswer);
        QVERIFY(!r.value(6).isNull());
        QCOMPARE(r.value(7).toDouble(), 1.0);
        QVERIFY(r.value(8).isNull());
        QVERIFY(r.next());
        QCOMPARE(r.value(7).toDouble(), 4.0); // the record's marks, as selected
        QVERIFY(!r.next());
        QCOMPARE(bank.count(u"tmp"_s, u"page_id=?"_s, {built.pageId}), 2);
        QCOMPARE(bank.count(u"tmp"_s, u"page_id<>?"_s, {built.pageId}), 0);
    }

    // Ten found, five to practise: the first five in the order of the selection (type, question).
    void buildTakesFirstRowsWithCaseRows()
    {
        TestBank bank;
        fillBank(bank);
        for (const QString &p : {u"Q07"_s, u"Q06"_s, u"Q05"_s, u"Q04"_s, u"Q03"_s, u"Q02"_s, u"Q01"_s})
            addRecord(bank, u"20261201080000"_s, p, true, false, false, true);
        bank.insertFilled(u"tmp"_s, u"old"_s);
        FakeClock clock(QDateTime(kToday, QTime(9, 30, 0)));
        const TargetedQuery q = query(TargetedMode::Essence);
        QCOMPARE(ids(selectTargeted(bank.db(), q)),
                 (QStringList{u"Q01"_s, u"Q02"_s, u"Q07"_s, u"Q03"_s, u"Q04"_s, u"Q05"_s, u"Q06"_s}));
        TargetedBuild built = buildTargetedSession(bank.db(), clock, q, 5);
        QCOMPARE(built.questionTotal, 5);
        QCOMPARE(bank.count(u"test_page"_s, u"page_id=? and p_id in ('Q01','Q02','Q07','Q03','Q04')"_s, {built.pageId}),
                 5);
        QCOMPARE(bank.count(u"tmp"_s), 5);

        // All of them: the case question brings one working row per sub-question.
        clock.advance(1000);
        built = buildTargetedSession(bank.db(), clock, q, 7);
        QCOMPARE(built.questionTotal, 7);
        QCOMPARE(bank.count(u"tmp"_s), 9);
        QCOMPARE(bank.count(u"tmp"_s, u"c_p_id='Q06' and e_subject_name like '小题%'"_s), 3);
    }

    void buildFailureLeavesRecords()
    {
        TestBank bank;
        fillBank(bank);
        addRecord(bank, u"20261201080000"_s, u"Q01"_s, true, false, false, true);
        bank.insertFilled(u"tmp"_s, u"old"_s);
        bank.failWrites(u"no_tmp"_s, u"before insert"_s, u"tmp"_s);
        FakeClock clock(QDateTime(kToday, QTime(9, 30, 0)));
        QVERIFY_THROWS_EXCEPTION(db::Error, buildTargetedSession(bank.db(), clock, query(TargetedMode::Essence), 5));
        QCOMPARE(bank.count(u"test_page"_s), 1);
        QCOMPARE(bank.count(u"tmp"_s, u"a_m_id='old'"_s), 1);
    }

    // A bank made with the older, narrower indexes gets the current ones when it is opened, rows kept.
    void indexesReplacedInOlderBank()
    {
        if (TestBank::onServer())
            QSKIP("upgrades a bank file with the older indexes");
        TestBank bank;
        fillBank(bank);
        addRecord(bank, u"20261201080000"_s, u"Q01"_s, true, false, false, true);
        for (const QString &name : {u"ix_test_page_question"_s, u"ix_ex_page_id_key"_s, u"ix_ex_page_id_course"_s})
            db::run(bank.db(), u"drop index "_s + name);
        for (const QString &create : {u"ix_test_page_p_id on test_page (p_id,page_id)"_s,
                                      u"ix_test_page_essence on test_page (p_id,p_ok_mask,page_id)"_s,
                                      u"ix_ex_page_id_p_id on ex_page_id (p_id)"_s,
                                      u"ix_ex_page_id_c_id on ex_page_id (c_id,p_type)"_s})
            db::run(bank.db(), u"create index "_s + create);
        db::ensureSchema(bank.db());
        const auto present = [&](const QString &names) {
            return db::scalar(bank.db(),
                              u"select count(*) from sqlite_master where type='index' and name in (%1)"_s.arg(names))
                .toInt();
        };
        QCOMPARE(present(u"'ix_test_page_question','ix_ex_page_id_key','ix_ex_page_id_course'"_s), 3);
        QCOMPARE(present(u"'ix_test_page_p_id','ix_test_page_essence','ix_ex_page_id_p_id','ix_ex_page_id_c_id'"_s), 0);
        QCOMPARE(bank.count(u"test_page"_s), 1);
        TargetedQuery wrongAll = query(TargetedMode::Wrong);
        wrongAll.period = WrongPeriod::All;
        QCOMPARE(ids(selectTargeted(bank.db(), wrongAll)), QStringList{u"Q01"_s});
    }

    void nothingAfterClearingRecords()
    {
        TestBank bank;
        fillBank(bank);
        addRecord(bank, u"20261210080000"_s, u"Q01"_s, true, false, false, true);
        db::run(bank.db(), u"delete from page_total"_s);
        db::run(bank.db(), u"delete from test_page"_s);
        TargetedQuery search = query(TargetedMode::Search);
        search.searchText = u"题干"_s;
        TargetedQuery wrong = query(TargetedMode::Wrong);
        wrong.period = WrongPeriod::All;
        FakeClock clock(QDateTime(kToday, QTime(9, 30, 0)));
        for (const TargetedQuery &q : {query(TargetedMode::Essence), search, wrong}) {
            QCOMPARE(storeSelection(bank.db(), q).total, 0);
            QVERIFY(buildTargetedSession(bank.db(), clock, q, 5).pageId.isEmpty());
        }
        QCOMPARE(bank.count(u"test_page"_s), 0);
    }
};

QTEST_GUILESS_MAIN(TargetedSession)
#include "targeted_session.moc"

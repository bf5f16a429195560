// Chapter practice without widgets: lists, counts, the texts derived from them and the build.
#include "db/sql.h"
#include "session/chaptersession.h"
#include "shell/clock.h"
#include "support/testbank.h"
#include "text/gbk.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace session;

namespace {

QStringList recordIds(const TestBank &bank, const QString &pageId)
{
    QStringList ids;
    QSqlQuery q = db::run(bank.db(), u"select p_id from test_page where page_id=? order by {rowid}"_s, {pageId});
    while (q.next())
        ids << q.value(0).toString();
    return ids;
}

} // namespace

class ChapterSession : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fourthTypeByCourseName_data()
    {
        QTest::addColumn<QString>("course");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("basics") << u"会计基础"_s << 4 << u"计算分析题:"_s << u"计算题:"_s;
        QTest::newRow("law") << u"财经法规与会计职业道德"_s << 5 << u"案例分析题:"_s << u"案例题:"_s;
        QTest::newRow("computing") << u"初级会计电算化"_s << 6 << u"实务操作题:"_s << u"实务题:"_s;
        QTest::newRow("later match wins") << u"财经基础"_s << 5 << u"案例分析题:"_s << u"案例题:"_s;
        QTest::newRow("none") << u"税法"_s << 0 << QString() << u"不明题:"_s;
    }
    void fourthTypeByCourseName()
    {
        QFETCH(QString, course);
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        QCOMPARE(fourthType(course), type);
        QCOMPARE(fourthTypeName(type), name);
        QCOMPARE(fourthTypeShortName(type), shortName);
        // The practice window's fourth type name is the first 11 bytes of the count line.
        if (type)
            QCOMPARE(text::gbkLeft(fourthTypeCountLine(type, 2, u"10分"_s), 11), name);
    }

    void countLines()
    {
        QCOMPARE(fourthTypeCountLine(4, 2, u"10分"_s), u"计算分析题:  2 大题,每题10分"_s);
        QCOMPARE(fourthTypeCountLine(5, 3, u"10分"_s), u"案例分析题:  3  大题,每题10分"_s);
        QCOMPARE(fourthTypeCountLine(6, 1, u"4分"_s), u"实务操作题:  1  题,每题4分"_s);
        QCOMPARE(fourthTypeEmptyLine(4), u"计算分析题: 0   题"_s);
        QCOMPARE(fourthTypeEmptyLine(0), QString());
    }

    void buttonCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QString twenty = u"第一章会计概述与会计要素及会计等式的基本内容"_s.left(20); // 40 bytes
        QTest::newRow("40 bytes -> 28") << twenty << twenty.left(14) + u"    "_s;
        QTest::newRow("character across byte 28 -> 29") << u"a"_s + twenty << u"a"_s + twenty.left(14) + u"   "_s;
        QTest::newRow("ascii") << QString(40, u'x') << QString(28, u'x') + u"    "_s;
        QTest::newRow("short, trimmed, padded") << u"  第二章  "_s << u"第二章"_s + QString(26, u' ');
    }
    void buttonCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(chapterButtonCaption(name), caption);
        QCOMPARE(text::gbkWidth(caption), 32);
    }

    void listsAndCounts()
    {
        TestBank bank;
        bank.addCourse(u"M2"_s, u"财经法规"_s);
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C2"_s, u"第二章"_s, u"M1"_s);
        bank.addChapter(u"P1"_s, u"模拟试卷一"_s, u"M1"_s, u"2"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addChapter(u"C9"_s, u"别的课程"_s, u"M2"_s);
        const QList<Course> all = courses(bank.db());
        QCOMPARE(all.size(), 2);
        QCOMPARE(all.at(0).name, u"财经法规"_s);
        const QList<Chapter> chapters = practiceChapters(bank.db(), u"M1"_s);
        QCOMPARE(chapters.size(), 2);
        QCOMPARE(chapters.at(0).id, u"C2"_s);
        QCOMPARE(chapters.at(1).name, u"第一章"_s);
        QCOMPARE(chapterName(bank.db(), u"C1"_s), u"第一章"_s);
        QCOMPARE(chapterName(bank.db(), u"P1"_s), QString()); // a paper is no practice chapter

        int n = 0;
        auto add = [&](int type, int count) {
            for (int k = 0; k < count; ++k)
                bank.addQuestion(u"C1"_s, u"Q%1"_s.arg(++n), type, u"A"_s);
        };
        add(1, 12);
        add(2, 5);
        add(3, 8);
        add(4, 2);
        const ChapterCounts c = countChapter(bank.db(), u"C1"_s);
        QCOMPARE(c.total, 27);
        QCOMPARE(c.perType[1], 12);
        QCOMPARE(c.perType[2], 5);
        QCOMPARE(c.perType[3], 8);
        QCOMPARE(c.perType[4], 2);
        QCOMPARE(countChapter(bank.db(), u"C2"_s).total, 0);
    }

    void builds_data()
    {
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QString>("records");
        QTest::addColumn<int>("tmpRows");
        QTest::newRow("all") << QList<int>{9, 9, 9, 9} << u"S1 S2 S3 M1 T1 K1"_s << 8;
        QTest::newRow("first n in table order") << QList<int>{2, 0, 1, 0} << u"S1 S2 T1"_s << 3;
        QTest::newRow("fourth type only") << QList<int>{0, 0, 0, 1} << u"K1"_s << 3;
        QTest::newRow("two singles and a case") << QList<int>{2, 0, 0, 1} << u"S1 S2 K1"_s << 5;
    }
    void builds()
    {
        QFETCH(QList<int>, counts);
        QFETCH(QString, records);
        QFETCH(int, tmpRows);
        TestBank bank;
        FakeClock clock(QDateTime(QDate(2031, 2, 3), QTime(4, 5, 6)));
        bank.addCourse(u"M1"_s, u"财经法规"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addChapter(u"C2"_s, u"第二章"_s, u"M1"_s);
        bank.addQuestion(u"C1"_s, u"S1"_s, 1, u"A"_s);
        bank.addQuestion(u"C2"_s, u"X1"_s, 1, u"A"_s);
        bank.addQuestion(u"C1"_s, u"S2"_s, 1, u"B"_s);
        bank.addQuestion(u"C1"_s, u"S3"_s, 1, u"B"_s);
        bank.addQuestion(u"C1"_s, u"M1"_s, 2, u"AB"_s, 2);
        bank.addQuestion(u"C1"_s, u"T1"_s, 3, u"A"_s);
        bank.addCase(u"C1"_s, u"K1"_s, 3);
        QRandomGenerator rng(7);
        const BuildResult r =
            buildChapterSession(bank.db(), clock, {u"C1"_s, {counts[0], counts[1], counts[2], counts[3]}, false}, rng);
        QVERIFY(r.pageId.startsWith(u"2031020304"_s));
        QCOMPARE(r.pageId.size(), 14);
        QCOMPARE(recordIds(bank, r.pageId).join(u' '), records);
        QCOMPARE(r.questionTotal, int(records.count(u' ') + 1));
        QCOMPARE(bank.count(u"tmp"_s), tmpRows);
        QCOMPARE(bank.count(u"tmp"_s, u"page_id=?"_s, {r.pageId}), tmpRows);
        QCOMPARE(bank.count(u"test_page"_s, u"p_answer='' and p_first_answer='' and p_type is not null"_s),
                 r.questionTotal);
    }

    void refusesAnEmptySelection()
    {
        TestBank bank;
        FakeClock clock(QDateTime(QDate(2031, 2, 3), QTime(4, 5, 6)));
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addQuestion(u"C1"_s, u"S1"_s, 1, u"A"_s);
        QRandomGenerator rng(7);
        // Leave an older session's working copy in place: a refused build must not clear it.
        const QString first = buildChapterSession(bank.db(), clock, {u"C1"_s, {1, 0, 0, 0}, false}, rng).pageId;
        QVERIFY(!first.isEmpty());
        QVERIFY(buildChapterSession(bank.db(), clock, {u"C1"_s, {0, 0, 0, 0}, false}, rng).pageId.isEmpty());
        QVERIFY(buildChapterSession(bank.db(), clock, {u"C1"_s, {0, 3, 0, 0}, false}, rng).pageId.isEmpty());
        QCOMPARE(bank.count(u"test_page"_s), 1);
        QCOMPARE(bank.count(u"tmp"_s), 1);
        // Two builds within one second get different ids.
        const QString second = buildChapterSession(bank.db(), clock, {u"C1"_s, {1, 0, 0, 0}, false}, rng).pageId;
        QVERIFY(second > first);
    }

    void randomOrder()
    {
        TestBank bank;
        FakeClock clock(QDateTime(QDate(2031, 2, 3), QTime(4, 5, 6)));
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        QStringList ids;
        for (int k = 0; k < 12; ++k) {
            ids << u"S%1"_s.arg(k, 2, 10, QLatin1Char('0'));
            bank.addQuestion(u"C1"_s, ids.last(), 1, u"A"_s);
        }
        QRandomGenerator rng(20240601);
        const QString id = buildChapterSession(bank.db(), clock, {u"C1"_s, {12, 0, 0, 0}, true}, rng).pageId;
        QStringList got = recordIds(bank, id);
        QVERIFY(got != ids);
        got.sort();
        QCOMPARE(got, ids);

        for (int n : {1, 3, 50}) {
            QList<int> order = drawOrder(n, rng);
            std::sort(order.begin(), order.end());
            for (int k = 0; k < n; ++k)
                QCOMPARE(order.at(k), k + 1);
        }
    }
};

QTEST_GUILESS_MAIN(ChapterSession)
#include "chapter_session.moc"

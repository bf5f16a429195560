// The review schedule of wrongly answered questions, driven through the clock over several weeks.
#include "db/sessionstore.h"
#include "records/reviewschedule.h"
#include "shell/clock.h"
#include "support/testbank.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace records;

namespace {

const QDate kStart(2026, 12, 1);

// One session of the learner on the clock's day, with the given answers (question, right).
void sit(const TestBank &bank, FakeClock &clock, const QList<std::pair<QString, bool>> &answers)
{
    const QString pageId = db::newPageId(bank.db(), clock);
    for (const auto &[pId, right] : answers)
        bank.insert(u"test_page"_s, {pageId, pId, 0, 0, 0, 0, 0, 0, u"A"_s, 1, right ? 1 : 0, 0, 0, u""_s, 1.0, 1});
}

void goToDay(FakeClock &clock, int day)
{
    clock.set(QDateTime(kStart.addDays(day), QTime(9, 0, 0)));
}

} // namespace

class ReviewScheduleTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stepsOfOneQuestion_data()
    {
        QTest::addColumn<QString>("answers"); // "day:R" or "day:W", in order
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("dueDay"); // -1: not on the schedule
        QTest::newRow("never wrong") << u"0:R 3:R"_s << -1 << -1;
        QTest::newRow("wrong once") << u"0:W"_s << 0 << 1;
        QTest::newRow("right on the day due") << u"0:W 1:R"_s << 1 << 3;
        QTest::newRow("right before due changes nothing") << u"0:W 1:R 2:R"_s << 1 << 3;
        QTest::newRow("right the same day as wrong") << u"0:W 0:R"_s << 0 << 1;
        QTest::newRow("late review still a step") << u"0:W 10:R"_s << 1 << 12;
        QTest::newRow("wrong in review restarts") << u"0:W 1:R 3:W"_s << 0 << 4;
        QTest::newRow("wrong before due restarts") << u"0:W 1:R 2:W"_s << 0 << 3;
        QTest::newRow("every step") << u"0:W 1:R 3:R 7:R 14:R 29:R"_s << 5 << 59;
        QTest::newRow("off after the last step") << u"0:W 1:R 3:R 7:R 14:R 29:R 59:R"_s << -1 << -1;
        QTest::newRow("back on after wrong again") << u"0:W 1:R 3:R 7:R 14:R 29:R 59:R 70:W"_s << 0 << 71;
    }
    void stepsOfOneQuestion()
    {
        QFETCH(QString, answers);
        QFETCH(int, step);
        QFETCH(int, dueDay);
        ReviewState state;
        for (const QString &a : answers.split(u' ')) {
            const QStringList parts = a.split(u':');
            state = afterAnswer(state, kStart.addDays(parts.at(0).toInt()), parts.at(1) == u"R");
        }
        QCOMPARE(state.step, step);
        QCOMPARE(state.due(), dueDay < 0 ? QDate() : kStart.addDays(dueDay));
    }

    // Records of one question as the tables hold them, against the days it is due: "day[session]:R|W|-"
    // in the order written (- met but not answered); sessions of one day are told apart by a letter.
    void dueFromRecords_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QList<int>>("dueOn");    // days (from day 0) it is due
        QTest::addColumn<QList<int>>("notDueOn"); // days it is not
        QTest::newRow("right in the session of the wrong answer") << u"0a:W 0a:R"_s << QList<int>{1} << QList<int>{0};
        QTest::newRow("right in a later session of that day") << u"0a:W 0b:R"_s << QList<int>{1} << QList<int>{0};
        QTest::newRow("records written out of order") << u"2a:R 0a:W 1a:R"_s << QList<int>{3, 9} << QList<int>{1, 2};
        QTest::newRow("met but not answered after the wrong")
            << u"0a:W 1a:- 2a:-"_s << QList<int>{1, 3} << QList<int>{0};
        QTest::newRow("an older wrong answer does not count") << u"5a:W 0a:W 1a:R"_s << QList<int>{6} << QList<int>{5};
        QTest::newRow("never wrong") << u"0a:R 1a:-"_s << QList<int>{} << QList<int>{0, 1, 40};
    }
    void dueFromRecords()
    {
        QFETCH(QString, records);
        QFETCH(QList<int>, dueOn);
        QFETCH(QList<int>, notDueOn);
        TestBank bank;
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addQuestion(u"C1"_s, u"Q01"_s, 1, u"A"_s);
        for (const QString &r : records.split(u' ')) {
            const int day = r.first(r.indexOf(u':') - 1).toInt();
            const QChar session = r.at(r.indexOf(u':') - 1);
            const QChar what = r.back();
            const QString pageId =
                kStart.addDays(day).toString(u"yyyyMMdd"_s) + (session == u'a' ? u"080000"_s : u"150000"_s);
            bank.insert(u"test_page"_s, {pageId, u"Q01"_s, 0, 0, 0, 0, 0, 0, u"A"_s, what == u'-' ? 0 : 1,
                                         what == u'R' ? 1 : 0, 0, 0, u""_s, 1.0, 1});
        }
        for (int day : dueOn) {
            QCOMPARE(dueQuestions(bank.db(), u"M1"_s, kStart.addDays(day)), QStringList{u"Q01"_s});
            QCOMPARE(dueCounts(bank.db(), kStart.addDays(day)).at(0).due, 1);
        }
        for (int day : notDueOn) {
            QVERIFY(dueQuestions(bank.db(), u"M1"_s, kStart.addDays(day)).isEmpty());
            QCOMPARE(dueCounts(bank.db(), kStart.addDays(day)).at(0).due, 0);
        }
    }

    void scheduleOverWeeks()
    {
        TestBank bank;
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addCourse(u"M2"_s, u"财经法规"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addChapter(u"C2"_s, u"第一章"_s, u"M2"_s);
        bank.addQuestion(u"C1"_s, u"Q01"_s, 1, u"A"_s);
        bank.addQuestion(u"C1"_s, u"Q02"_s, 3, u"A"_s);
        bank.addQuestion(u"C1"_s, u"Q03"_s, 1, u"A"_s);
        bank.addQuestion(u"C2"_s, u"Q04"_s, 1, u"A"_s);
        FakeClock clock(QDateTime(kStart, QTime(9, 0, 0)));
        const auto due = [&](const QString &course = u"M1"_s) {
            return dueQuestions(bank.db(), course, clock.now().date());
        };

        sit(bank, clock, {{u"Q01"_s, false}, {u"Q02"_s, false}, {u"Q03"_s, true}, {u"Q04"_s, false}});
        QVERIFY(due().isEmpty());
        goToDay(clock, 1);
        QCOMPARE(due(), (QStringList{u"Q01"_s, u"Q02"_s}));
        QCOMPARE(due(u"M2"_s), QStringList{u"Q04"_s});
        const QList<CourseDue> counts = dueCounts(bank.db(), clock.now().date());
        QCOMPARE(counts.size(), 2);
        QCOMPARE(counts.at(0).courseName, u"会计基础"_s);
        QCOMPARE(counts.at(0).due, 2);
        QCOMPARE(counts.at(0).questions, (QStringList{u"Q01"_s, u"Q02"_s}));
        QCOMPARE(counts.at(1).due, 1);
        QCOMPARE(counts.at(1).questions, QStringList{u"Q04"_s});

        // Two sessions on one day: Q01 right in review, Q02 wrong again, Q03 wrong for the first time.
        sit(bank, clock, {{u"Q01"_s, true}, {u"Q02"_s, false}});
        clock.advance(3600 * 1000);
        sit(bank, clock, {{u"Q03"_s, false}});
        QVERIFY(due().isEmpty());
        goToDay(clock, 2);
        QCOMPARE(due(), (QStringList{u"Q03"_s, u"Q02"_s}));     // type order: Q03 single, Q02 true/false
        sit(bank, clock, {{u"Q02"_s, true}, {u"Q01"_s, true}}); // Q01 is not due: nothing changes for it
        goToDay(clock, 3);
        QCOMPARE(due(), (QStringList{u"Q01"_s, u"Q03"_s}));
        sit(bank, clock, {{u"Q01"_s, true}});
        // Q03 and Q02 are left alone and stay due; Q01 comes back four days after day 3.
        for (int day : {4, 5, 6}) {
            goToDay(clock, day);
            QCOMPARE(due(), (QStringList{u"Q03"_s, u"Q02"_s}));
        }
        goToDay(clock, 7);
        QCOMPARE(due(), (QStringList{u"Q01"_s, u"Q03"_s, u"Q02"_s}));
        sit(bank, clock, {{u"Q01"_s, true}, {u"Q02"_s, true}, {u"Q03"_s, true}});
        // Q01 on 7 days, then 15 and 30: it leaves the schedule after day 59.
        for (const auto &[day, expected] : QList<std::pair<int, QStringList>>{
                 {13, {}}, {14, {u"Q01"_s}}, {28, {}}, {29, {u"Q01"_s}}, {58, {}}, {59, {u"Q01"_s}}}) {
            goToDay(clock, day);
            QStringList mine = due();
            mine.removeAll(u"Q02"_s);
            mine.removeAll(u"Q03"_s);
            QCOMPARE(mine, expected);
            if (!expected.isEmpty())
                sit(bank, clock, {{u"Q01"_s, true}});
        }
        goToDay(clock, 120);
        QVERIFY(!due().contains(u"Q01"_s));
        // Q02 went on after day 7 by 4 days (step 2), Q03 by 2 days (step 1): both are long due.
        QCOMPARE(due(), (QStringList{u"Q03"_s, u"Q02"_s}));
    }
};

QTEST_GUILESS_MAIN(ReviewScheduleTest)
#include "review_schedule.moc"

// The study report over the answer records, and the practice sets built from its lists.
#include "db/sql.h"
#include "records/studyreport.h"
#include "session/listedsession.h"
#include "shell/clock.h"
#include "support/testbank.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace records;

namespace {

void answer(const TestBank &bank, const QString &pageId, const QString &pId, bool done, bool right)
{
    bank.insert(u"test_page"_s, {pageId, pId, 0, 0, 0, 0, 0, 0, done ? u"A"_s : u""_s, done ? 1 : 0, right ? 1 : 0, 0,
                                 0, u""_s, 1.0, 1});
}

// Course M1: chapter C1 (Q01, Q02 single, Q03 multiple, Q04 true/false), chapter C2 (Q05 single,
// Q06 true/false), chapter C3 (Q07, never practised), paper P1 (Q08). Course M2: Q09.
void fillBank(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
    bank.addChapter(u"C2"_s, u"第二章"_s, u"M1"_s);
    bank.addChapter(u"C3"_s, u"第三章"_s, u"M1"_s);
    bank.addChapter(u"P1"_s, u"模拟试卷一"_s, u"M1"_s, u"2"_s);
    bank.addChapter(u"C9"_s, u"第一章"_s, u"M2"_s);
    bank.addQuestion(u"C1"_s, u"Q01"_s, 1, u"A"_s);
    bank.addQuestion(u"C1"_s, u"Q02"_s, 1, u"B"_s);
    bank.addQuestion(u"C1"_s, u"Q03"_s, 2, u"AB"_s, 2);
    bank.addQuestion(u"C1"_s, u"Q04"_s, 3, u"A"_s);
    bank.addQuestion(u"C2"_s, u"Q05"_s, 1, u"C"_s);
    bank.addQuestion(u"C2"_s, u"Q06"_s, 3, u"B"_s);
    bank.addQuestion(u"C3"_s, u"Q07"_s, 1, u"D"_s);
    bank.addQuestion(u"P1"_s, u"Q08"_s, 1, u"A"_s);
    bank.addQuestion(u"C9"_s, u"Q09"_s, 1, u"A"_s);

    answer(bank, u"20261201080000"_s, u"Q01"_s, true, false);
    answer(bank, u"20261201080000"_s, u"Q02"_s, true, true);
    answer(bank, u"20261201080000"_s, u"Q03"_s, true, false);
    answer(bank, u"20261201080000"_s, u"Q04"_s, false, false); // met, not answered
    answer(bank, u"20261201080000"_s, u"Q05"_s, true, true);
    answer(bank, u"20261202080000"_s, u"Q01"_s, true, true);
    answer(bank, u"20261202080000"_s, u"Q03"_s, true, false);
    answer(bank, u"20261202080000"_s, u"Q06"_s, true, false);
    answer(bank, u"20261202080000"_s, u"Q08"_s, true, false);
    answer(bank, u"20261203080000"_s, u"Q01"_s, true, false);
    answer(bank, u"20261203080000"_s, u"Q02"_s, true, true);
    answer(bank, u"20261203080000"_s, u"Q09"_s, true, false);
}

// "key name questions/answered/rightLatest/answers/rightAnswers"
QString line(const RateLine &l)
{
    return u"%1 %2 %3/%4/%5/%6/%7"_s.arg(l.key, l.name)
        .arg(l.questions)
        .arg(l.answeredQuestions)
        .arg(l.rightLatest)
        .arg(l.answers)
        .arg(l.rightAnswers);
}

QStringList lines(const QList<RateLine> &list)
{
    QStringList out;
    for (const RateLine &l : list)
        out << line(l);
    return out;
}

} // namespace

class StudyReportTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ratesPerChapterAndType()
    {
        TestBank bank;
        fillBank(bank);
        const StudyReport r = buildStudyReport(bank.db(), u"M1"_s);
        // Papers count for the types, not as chapters; the unanswered record of Q04 counts nowhere.
        QCOMPARE(lines(r.chapters),
                 (QStringList{u"C1 第一章 4/3/1/7/3"_s, u"C2 第二章 2/2/1/2/1"_s, u"C3 第三章 1/0/0/0/0"_s}));
        QCOMPARE(lines(r.types),
                 (QStringList{u"1 单选题 5/4/2/7/4"_s, u"2 多选题 1/1/0/2/0"_s, u"3 判断题 2/1/0/1/0"_s}));
        QCOMPARE(r.answers, 10);
        QCOMPARE(qRound(r.chapters.at(0).latestRate() * 100), 3333);
        QCOMPARE(qRound(r.chapters.at(0).overallRate() * 100), 4286);
        QCOMPARE(r.chapters.at(2).latestRate(), -1.0);
        QCOMPARE(r.chapters.at(0).wrongLatest(), 2);
        QCOMPARE(r.chapters.at(0).unanswered(), 1);
    }

    // One question's records against its counts: "session:flags" where the flags are d (answered)
    // and r (right), in the order written.
    void countsOfOneQuestion_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QString>("expected"); // questions/answered/rightLatest/answers/rightAnswers
        QTest::newRow("never met") << u""_s << u"1/0/0/0/0"_s;
        QTest::newRow("met, not answered") << u"1:"_s << u"1/0/0/0/0"_s;
        QTest::newRow("wrong then right") << u"1:d 2:dr"_s << u"1/1/1/2/1"_s;
        QTest::newRow("right then wrong") << u"1:dr 2:d"_s << u"1/1/0/2/1"_s;
        QTest::newRow("newest met but not answered") << u"1:d 2:dr 3:"_s << u"1/1/1/2/1"_s;
        QTest::newRow("right and wrong in one session, wrong written last") << u"1:d 2:dr 2:d"_s << u"1/1/1/3/1"_s;
        QTest::newRow("right and wrong in one session, right written last") << u"2:d 2:dr"_s << u"1/1/1/2/1"_s;
        QTest::newRow("records written out of session order") << u"3:d 1:dr 2:dr"_s << u"1/1/0/3/2"_s;
    }
    void countsOfOneQuestion()
    {
        QFETCH(QString, records);
        QFETCH(QString, expected);
        TestBank bank;
        bank.addCourse(u"M1"_s, u"会计基础"_s);
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addQuestion(u"C1"_s, u"Q01"_s, 1, u"A"_s);
        for (const QString &r : records.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList parts = r.split(u':');
            answer(bank, u"2026120%1080000"_s.arg(parts.at(0)), u"Q01"_s, parts.at(1).contains(u'd'),
                   parts.at(1).contains(u'r'));
        }
        const StudyReport report = buildStudyReport(bank.db(), u"M1"_s);
        QCOMPARE(report.chapters.size(), 1);
        QCOMPARE(line(report.chapters.at(0)), u"C1 第一章 "_s + expected);
        const bool weak = weakQuestions(bank.db(), u"C1"_s) == QStringList{u"Q01"_s};
        QCOMPARE(weak, report.chapters.at(0).rightLatest == 0);
    }

    void mostWrongUnpractisedAndWeakest()
    {
        TestBank bank;
        fillBank(bank);
        const StudyReport r = buildStudyReport(bank.db(), u"M1"_s, 3);
        QStringList wrong;
        for (const FrequentWrong &w : r.mostWrong)
            wrong << u"%1 %2 %3/%4"_s.arg(w.pId, w.chapter).arg(w.wrong).arg(w.answers);
        QCOMPARE(wrong, (QStringList{u"Q01 第一章 2/3"_s, u"Q03 第一章 2/2"_s, u"Q06 第二章 1/1"_s}));
        QVERIFY(r.mostWrong.at(0).stem.contains(u"Q01"_s));
        QCOMPARE(r.unpractised, QStringList{u"第三章"_s});
        QStringList weakest;
        for (const RateLine &w : r.weakest)
            weakest << w.key;
        QCOMPARE(weakest, (QStringList{u"C1"_s, u"C2"_s}));

        // A course without records: every chapter unpractised, nothing weak.
        const StudyReport other = buildStudyReport(bank.db(), u"M2"_s);
        QCOMPARE(other.answers, 1);
        QVERIFY(other.unpractised.isEmpty());
        const StudyReport none = buildStudyReport(bank.db(), u"M9"_s);
        QVERIFY(none.chapters.isEmpty() && none.types.isEmpty() && none.mostWrong.isEmpty() && none.weakest.isEmpty());
    }

    void weakQuestionsAreWrongOrUnanswered()
    {
        TestBank bank;
        fillBank(bank);
        QCOMPARE(weakQuestions(bank.db(), u"C1"_s), (QStringList{u"Q01"_s, u"Q03"_s, u"Q04"_s}));
        QCOMPARE(weakQuestions(bank.db(), u"C2"_s), QStringList{u"Q06"_s});
        QCOMPARE(weakQuestions(bank.db(), u"C3"_s), QStringList{u"Q07"_s});
    }

    void listedSessionHoldsTheQuestions()
    {
        TestBank bank;
        fillBank(bank);
        FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
        const int before = bank.count(u"test_page"_s);
        // An unknown id is left out, a repeated one taken once.
        const auto built =
            session::buildListedSession(bank.db(), clock, {u"Q03"_s, u"Q01"_s, u"QXX"_s, u"Q03"_s, u"Q04"_s});
        QCOMPARE(built.pageId, u"20261210090000"_s);
        QCOMPARE(built.questionTotal, 3);
        QCOMPARE(bank.count(u"test_page"_s), before + 3);
        QCOMPARE(bank.count(u"test_page"_s, u"page_id=? and p_do_yn=0 and p_type is null"_s, {built.pageId}), 3);
        QCOMPARE(bank.count(u"test_page"_s, u"page_id=? and p_id=? and p_score=2"_s, {built.pageId, u"Q03"_s}), 1);
        QCOMPARE(bank.count(u"tmp"_s, u"page_id=?"_s, {built.pageId}), 3);

        const auto empty = session::buildListedSession(bank.db(), clock, {u"QXX"_s});
        QVERIFY(empty.pageId.isEmpty());
        QCOMPARE(bank.count(u"tmp"_s, u"page_id=?"_s, {built.pageId}), 3); // the working copy stays
    }
};

QTEST_GUILESS_MAIN(StudyReportTest)
#include "study_report.moc"

// The practice window's question set on a small bank: recording every type, marks, moves, the
// editor reload rule, the review sets and the finishing totals.
#include "db/sql.h"
#include "practice/practicesession.h"
#include "practice/practicetotals.h"
#include "practice_fixture.h"
#include "session/chaptersession.h"
#include "shell/clock.h"

#include <QRandomGenerator>
#include <QSqlRecord>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace practice;

using practicetest::boxes;
using practicetest::Fixture;

namespace {

int indexOf(const PracticeSession &s, const QString &pId, const QString &sub = u"0"_s)
{
    for (int k = 0; k < s.count(); ++k) {
        if (s.rows().at(k).pId == pId && s.rows().at(k).subNumber == sub)
            return k;
    }
    return -1;
}

PracticeSession opened(const Fixture &f)
{
    PracticeSession s(f.bank.db());
    s.open(QuestionSet::Session, f.pageId);
    return s;
}

} // namespace

class PracticeSessionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opensInTypeOrder()
    {
        Fixture f;
        PracticeSession s = opened(f);
        QCOMPARE(s.count(), 9);
        QStringList order;
        QList<int> numbers;
        for (int k = 0; k < s.count(); ++k) {
            s.setIndex(k);
            order << s.current()->pId + u'.' + s.current()->subNumber;
            numbers << s.numberWithinType();
        }
        QCOMPARE(order.join(u' '), u"Q1.0 Q2.0 Q3.0 Q4A.0 Q4E.0 Q5.1 Q5.2 Q5.3 Q6.0"_s);
        QCOMPARE(numbers, (QList<int>{1, 1, 1, 1, 2, 1, 2, 3, 1}));
        const auto counts = s.typeCountsOfWorkingCopy();
        QCOMPARE(counts[1], 1);
        QCOMPARE(counts[4], 2);
        QCOMPARE(counts[5], 3);
        // Case rows carry the sub-question's own texts.
        s.setIndex(indexOf(s, u"Q5"_s, u"2"_s));
        QCOMPARE(s.current()->correct, u"BC"_s);
        QCOMPARE(s.current()->subStem, u"小题 2"_s);
        QCOMPARE(s.current()->options[0], u"甲"_s);
    }

    void movesStopAtTheEnds()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.previous();
        QCOMPARE(s.index(), 0);
        s.setIndex(s.count() - 1);
        QVERIFY(s.atLast());
        s.next();
        QCOMPARE(s.index(), s.count() - 1);
        QVERIFY(s.pastEnd());
        s.previous();
        QVERIFY(!s.pastEnd());
        QCOMPARE(s.index(), s.count() - 2);
        s.next();
        QCOMPARE(s.index(), s.count() - 1);
    }

    void recordsChoices()
    {
        Fixture f;
        PracticeSession s = opened(f);
        // Nothing chosen: nothing recorded, the question stays unanswered.
        s.check({});
        QCOMPARE(f.record(u"Q1"_s, u"p_do_yn"_s).toInt(), 0);
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), QString());
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"p_do_yn"_s).toInt(), 0);

        s.check({boxes(u"A"_s), {}});
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"A"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_first_answer"_s).toString(), u"A"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q1"_s, u"p_a"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"d_p_a"_s).toInt(), 1);
        QVERIFY(s.current()->done && s.current()->right);

        // A changed answer replaces the answer and the verdict but keeps the first answer.
        s.check({boxes(u"C"_s), {}});
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"C"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_first_answer"_s).toString(), u"A"_s);
        QCOMPARE(f.record(u"Q1"_s, u"p_real_yn"_s).toInt(), 0);
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"p_real_yn"_s).toInt(), 0);
        QCOMPARE(f.record(u"Q1"_s, u"p_score"_s).toDouble(), 1.0);
        // Unchecking everything later keeps the recorded answer.
        s.check({});
        QCOMPARE(f.record(u"Q1"_s, u"p_answer"_s).toString(), u"C"_s);
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"p_do_yn"_s).toInt(), 1);

        s.next();
        s.check({boxes(u"DB"_s), {}});
        QCOMPARE(f.record(u"Q2"_s, u"p_answer"_s).toString(), u"BD"_s);
        QCOMPARE(f.record(u"Q2"_s, u"p_real_yn"_s).toInt(), 1);
        s.next();
        s.check({boxes(u"B"_s), {}});
        QCOMPARE(f.record(u"Q3"_s, u"p_answer"_s).toString(), u"B"_s);
        QCOMPARE(f.record(u"Q3"_s, u"p_real_yn"_s).toInt(), 0);
    }

    void recordsCaseSubQuestions()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.setIndex(indexOf(s, u"Q5"_s, u"2"_s));
        s.check({boxes(u"AC"_s), {}});
        QCOMPARE(f.record(u"Q5"_s, u"p_answer"_s).toString(), u"/AC/////"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_first_answer"_s).toString(), u"/AC/////"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_score"_s).toDouble(), 0.0);
        QCOMPARE(f.tmp(u"Q5"_s, u"2"_s, u"p_real_yn"_s).toInt(), 0);

        s.setIndex(indexOf(s, u"Q5"_s, u"1"_s));
        s.check({boxes(u"A"_s), {}});
        QCOMPARE(f.record(u"Q5"_s, u"p_answer"_s).toString(), u"A/AC/////"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_first_answer"_s).toString(), u"/AC/////"_s);
        QCOMPARE(f.tmp(u"Q5"_s, u"1"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q5"_s, u"2"_s, u"p_real_yn"_s).toInt(), 0);
        // The case question earns the marks of its right sub-questions, whichever was answered last.
        QCOMPARE(f.record(u"Q5"_s, u"p_score"_s).toDouble(), 2.0);
        QCOMPARE(f.record(u"Q5"_s, u"p_real_yn"_s).toInt(), 1);
        s.setIndex(indexOf(s, u"Q5"_s, u"2"_s));
        s.check({boxes(u"BC"_s), {}});
        QCOMPARE(f.record(u"Q5"_s, u"p_answer"_s).toString(), u"A/BC/////"_s);
        QCOMPARE(f.record(u"Q5"_s, u"p_score"_s).toDouble(), 4.0);
        s.setIndex(indexOf(s, u"Q5"_s, u"3"_s));
        s.check({boxes(u"B"_s), {}});
        QCOMPARE(f.record(u"Q5"_s, u"p_score"_s).toDouble(), 4.0);
    }

    void recordsCalculations()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.setIndex(indexOf(s, u"Q4A"_s));
        AnswerInput in;
        s.check(in); // all empty: nothing
        QCOMPARE(f.record(u"Q4A"_s, u"p_do_yn"_s).toInt(), 0);
        in.editor.amounts = {u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s};
        s.check(in);
        QCOMPARE(f.record(u"Q4A"_s, u"p_do_yn"_s).toInt(), 0);
        in.editor.amounts = {u"100"_s, u"999"_s, u"300"_s, {}, {}, {}};
        s.check(in);
        QCOMPARE(f.record(u"Q4A"_s, u"p_answer"_s).toString(), u"100/999/300///"_s);
        QCOMPARE(f.record(u"Q4A"_s, u"p_score"_s).toDouble(), 4.0);
        QCOMPARE(f.record(u"Q4A"_s, u"p_real_yn"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q4A"_s, u"p_first_answer"_s).toString(), QString());
        QCOMPARE(f.tmp(u"Q4A"_s, u"0"_s, u"p_do_yn"_s).toInt(), 0); // the working row is not touched
        QCOMPARE(s.editorContent().amounts[1], u"999"_s);

        s.setIndex(indexOf(s, u"Q4E"_s));
        EditorContent e = editorContentFor(false, false, QString());
        e.lines[0][0] = {true, Direction::Credit, u"银行存款"_s, u"100"_s};
        e.lines[0][1] = {true, Direction::Debit, u"库存现金"_s, u"100"_s};
        for (int s2 = 1; s2 < 6; ++s2)
            for (int l = 0; l < 6; ++l)
                e.lines[s2][l] = {true, Direction::Debit, u"交易性金融资产"_s, u"1234567.00"_s};
        s.check({{}, e});
        const QString stored = f.record(u"Q4E"_s, u"p_answer"_s).toString();
        QVERIFY(stored.size() > 255);
        QCOMPARE(stored, entriesAnswer(e));
        QCOMPARE(f.record(u"Q4E"_s, u"p_score"_s).toDouble(), 5.0);

        // An answered entries-mode record without any entry line becomes unanswered on loading.
        db::run(f.bank.db(), u"update test_page set p_answer='/////' where p_id='Q4E'"_s);
        const EditorContent loaded = s.editorContent();
        QVERIFY(loaded.lines[0][0].shown && !loaded.lines[0][0].taken());
        QCOMPARE(f.record(u"Q4E"_s, u"p_do_yn"_s).toInt(), 0);
    }

    void neverRecordsPracticalOperation()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.setIndex(indexOf(s, u"Q6"_s));
        s.check({boxes(u"A"_s), {}});
        QCOMPARE(f.record(u"Q6"_s, u"p_do_yn"_s).toInt(), 0);
        QCOMPARE(f.tmp(u"Q6"_s, u"0"_s, u"d_p_a"_s).toInt(), 0);
    }

    void marksBelongToTheQuestion()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.setIndex(indexOf(s, u"Q5"_s, u"1"_s));
        s.toggleMark();
        s.toggleEssence();
        QCOMPARE(f.record(u"Q5"_s, u"p_mask"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q5"_s, u"p_ok_mask"_s).toInt(), 1);
        // Moving to the next sub-question keeps the marks of the case question.
        s.next();
        s.reloadRecord();
        QVERIFY(s.current()->marked && s.current()->essence);
        QCOMPARE(f.record(u"Q5"_s, u"p_mask"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q5"_s, u"3"_s, u"d_p_ok_mask"_s).toInt(), 1);
        s.toggleMark();
        QCOMPARE(f.record(u"Q5"_s, u"p_mask"_s).toInt(), 0);
        QVERIFY(s.record().essence && !s.record().marked);
        // The refresh copies the row's marks into the record.
        db::run(f.bank.db(), u"update test_page set p_ok_mask=0 where p_id='Q5'"_s);
        s.reloadRecord();
        QCOMPARE(f.record(u"Q5"_s, u"p_ok_mask"_s).toInt(), 1);
    }

    void reviewSets_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("numbers"); // number within its type, row by row
        QTest::newRow("wrong") << int(QuestionSet::AnsweredWrong) << u"Q3"_s << u"1"_s;
        QTest::newRow("right") << int(QuestionSet::AnsweredRight) << u"Q1 Q4A Q5 Q5 Q5"_s << u"1 1 1 2 3"_s;
        QTest::newRow("unanswered") << int(QuestionSet::Unanswered) << u"Q2 Q4E Q6"_s << u"1 1 1"_s;
        QTest::newRow("whole table") << int(QuestionSet::WholeTable) << u"Q1 Q2 Q3 Q4A Q4E Q5 Q5 Q5 Q6"_s
                                     << u"1 1 1 1 2 1 2 3 1"_s;
    }
    void reviewSets()
    {
        QFETCH(int, set);
        QFETCH(QString, rows);
        QFETCH(QString, numbers);
        Fixture f;
        PracticeSession s = opened(f);
        s.check({boxes(u"A"_s), {}}); // Q1 right
        s.setIndex(2);
        s.check({boxes(u"B"_s), {}}); // Q3 wrong
        s.setIndex(3);
        AnswerInput in;
        in.editor.amounts[0] = u"1"_s;
        s.check(in); // Q4A: recorded, judged right with 0 marks
        s.setIndex(indexOf(s, u"Q5"_s, u"2"_s));
        s.check({boxes(u"A"_s), {}});

        PracticeSession review(f.bank.db());
        review.open(QuestionSet(set), f.pageId);
        QStringList ids;
        for (const PracticeRow &r : review.rows())
            ids << r.pId;
        QCOMPARE(ids.join(u' '), rows);
        // Numbers within type count inside the shown set.
        QStringList within;
        for (int k = 0; k < review.count(); ++k) {
            review.setIndex(k);
            within << QString::number(review.numberWithinType());
        }
        QCOMPARE(within.join(u' '), numbers);
    }

    void finishingTotals()
    {
        Fixture f;
        PracticeSession s = opened(f);
        s.check({boxes(u"A"_s), {}}); // Q1 right, 1 mark
        s.next();
        s.check({boxes(u"BD"_s), {}}); // Q2 right, 2 marks
        s.next();
        s.check({boxes(u"B"_s), {}}); // Q3 wrong
        s.next();
        AnswerInput in;
        in.editor.amounts = {u"100"_s, u"200"_s, {}, {}, {}, {}};
        s.check(in); // Q4A 4 marks
        s.setIndex(indexOf(s, u"Q5"_s, u"1"_s));
        s.check({boxes(u"A"_s), {}}); // Q5 sub 1 right, 2 marks

        PracticeTotals t = computeTotals(f.bank.db(), f.pageId);
        QCOMPARE(t.done, 5);
        QCOMPARE(t.notDone, 2);
        QCOMPARE(t.right, 3); // rows: Q1, Q2, Q5.1 (a calculation row is never judged)
        QCOMPARE(t.wrong, 6); // every other row of the session
        QCOMPARE(t.score, 9.0);
        QCOMPARE(t.fullMarks, 1 + 2 + 1 + 6 + 10 + 3 * 2 + 4.0);
        storeTotals(f.bank.db(), f.pageId, t, u"1分5秒"_s, u"章节练习"_s);
        QCOMPARE(f.bank.count(u"page_total"_s), 1);

        // Finishing again overwrites the one row.
        t.done = 6;
        storeTotals(f.bank.db(), f.pageId, t, u"12分30秒"_s, u"错题复习"_s);
        QCOMPARE(f.bank.count(u"page_total"_s), 1);
        QCOMPARE(practicetest::totalsRow(f.bank.db(), f.pageId),
                 (QStringList{f.pageId, u"3"_s, u"6"_s, u"2"_s, u"6"_s, u"12分30秒"_s, u"错题复习"_s, u"9"_s}));
    }

    void failedWritesLeaveNothingHalfDone()
    {
        Fixture f;
        PracticeSession s = opened(f);
        f.bank.failWrites(u"no_answers"_s, u"before update"_s, u"test_page"_s);
        QVERIFY_THROWS_EXCEPTION(db::Error, s.check({boxes(u"A"_s), {}}));
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"d_p_a"_s).toInt(), 0); // the working row was rolled back
        QCOMPARE(f.tmp(u"Q1"_s, u"0"_s, u"p_do_yn"_s).toInt(), 0);
        QVERIFY(!s.current()->done);

        f.bank.failWrites(u"no_totals"_s, u"after insert"_s, u"page_total"_s);
        const PracticeTotals t = computeTotals(f.bank.db(), f.pageId);
        QVERIFY_THROWS_EXCEPTION(db::Error, storeTotals(f.bank.db(), f.pageId, t, u"1秒"_s, u"章节练习"_s));
        QCOMPARE(f.bank.count(u"page_total"_s), 0);
    }
};

QTEST_GUILESS_MAIN(PracticeSessionTest)
#include "practice_session.moc"

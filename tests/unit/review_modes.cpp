// The review modes of the result panels without windows: what each button selects, its empty
// messages, the resets of "重新练习" and "重新考试" and the inputs of the reopened windows.
#include "exam_fixture.h"
#include "practice_fixture.h"

#include "db/sql.h"
#include "exam/examsession.h"
#include "records/review.h"
#include "session/papersession.h"

#include <QTest>

using namespace Qt::StringLiterals;
using records::Review;

Q_DECLARE_METATYPE(Review)
Q_DECLARE_METATYPE(SessionCursor::Filter)
Q_DECLARE_METATYPE(practice::QuestionSet)

namespace {

void setRecord(const QSqlDatabase &db, const QString &pageId, const QString &pId, bool done, bool right)
{
    db::run(db, u"update test_page set p_do_yn=?,p_real_yn=?,p_answer=? where page_id=? and p_id=?"_s,
            {done ? 1 : 0, right ? 1 : 0, done ? u"A"_s : QString(u""_s), pageId, pId});
}

// The practice fixture's session answered: Q1 and Q4A right, Q2 and Q3 wrong, Q4E, Q5, Q6 not answered.
void answerPractice(const practicetest::Fixture &f)
{
    setRecord(f.bank.db(), f.pageId, u"Q1"_s, true, true);
    setRecord(f.bank.db(), f.pageId, u"Q2"_s, true, false);
    setRecord(f.bank.db(), f.pageId, u"Q3"_s, true, false);
    setRecord(f.bank.db(), f.pageId, u"Q4A"_s, true, true);
}

// Paper T1 of the small exam bank (S1 S2 M1 M2 J1 J2 K1 K2; 28 marks): S1, J1 right, K1 answered
// (recorded right with 3.5 earned marks), M1 wrong, S2 M2 J2 K2 not answered.
struct ExamFixture
{
    ExamFixture()
    {
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        pageId = paper::buildFixed(bank.db(), clock, u"T1"_s).pageId;
        setRecord(bank.db(), pageId, u"S1"_s, true, true);
        setRecord(bank.db(), pageId, u"J1"_s, true, true);
        setRecord(bank.db(), pageId, u"K1"_s, true, true);
        setRecord(bank.db(), pageId, u"M1"_s, true, false);
        db::run(bank.db(), u"update test_page set p_score=3.5,p_first_answer='1/2' where p_id='K1'"_s);
    }
    QVariant record(const QString &pId, const QString &column) const
    {
        return db::scalar(bank.db(), u"select "_s + column + u" from test_page where page_id=? and p_id=?"_s,
                          {pageId, pId});
    }
    TestBank bank;
    QString pageId;
};

} // namespace

class ReviewModes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void practiceSelection_data()
    {
        QTest::addColumn<Review>("review");
        QTest::addColumn<int>("count");
        QTest::newRow("all answers") << Review::AllAnswers << 7;
        QTest::newRow("wrong: answered only") << Review::Wrong << 2;
        QTest::newRow("right: answered only") << Review::Right << 2;
        QTest::newRow("unanswered") << Review::Unanswered << 3;
        QTest::newRow("again") << Review::Again << 7;
    }
    void practiceSelection()
    {
        QFETCH(Review, review);
        QFETCH(int, count);
        practicetest::Fixture f;
        answerPractice(f);
        QCOMPARE(records::practiceSelection(f.bank.db(), f.pageId, review), count);
    }

    void practiceEmptySelections()
    {
        practicetest::Fixture f;
        // Nothing answered: no right answers although nothing was answered wrong.
        QCOMPARE(records::practiceSelection(f.bank.db(), f.pageId, Review::Right), 0);
        QCOMPARE(records::practiceSelection(f.bank.db(), f.pageId, Review::Wrong), 0);
        // Everything answered right: no wrong and no unanswered questions.
        db::run(f.bank.db(), u"update test_page set p_do_yn=1,p_real_yn=1 where page_id=?"_s, {f.pageId});
        QCOMPARE(records::practiceSelection(f.bank.db(), f.pageId, Review::Wrong), 0);
        QCOMPARE(records::practiceSelection(f.bank.db(), f.pageId, Review::Unanswered), 0);
        // Another session's rows never count.
        QCOMPARE(records::practiceSelection(f.bank.db(), u"20991231235959"_s, Review::AllAnswers), 0);
    }

    void emptyMessages_data()
    {
        QTest::addColumn<Review>("review");
        QTest::addColumn<QString>("practice");
        QTest::addColumn<QString>("exam");
        QTest::newRow("wrong") << Review::Wrong << u"当前无错误记录或全部未做完,请考虑是否进行练习..."_s
                               << u"恭喜!....当前无错误记录,您太厉害了！"_s;
        QTest::newRow("right") << Review::Right << u"对不起!....当前全是错误记录,请点击重新进行练习"_s
                               << u"对不起!....当前全是错误记录,请点击重新进行考试"_s;
        QTest::newRow("unanswered") << Review::Unanswered << u"恭喜!....当前记录全部已做完...."_s
                                    << u"当前没有未做的记录....."_s;
        QTest::newRow("all answers") << Review::AllAnswers << QString() << QString();
        QTest::newRow("again") << Review::Again << QString() << QString();
    }
    void emptyMessages()
    {
        QFETCH(Review, review);
        QFETCH(QString, practice);
        QFETCH(QString, exam);
        QCOMPARE(records::practiceEmptyMessage(review), practice);
        QCOMPARE(records::examEmptyMessage(review), exam);
    }

    void practiceResetClearsAnswersOnly()
    {
        practicetest::Fixture f;
        const QSqlDatabase db = f.bank.db();
        db::run(db,
                u"update test_page set p_a=1,p_c=1,p_answer='AC',p_do_yn=1,p_real_yn=1,p_first_answer='B',p_mask=1,"
                "p_ok_mask=1,p_score=7.5 where page_id=? and p_id='Q2'"_s,
                {f.pageId});
        db::run(db, u"update tmp set d_p_a=1,d_p_c=1,p_answer='AC',p_do_yn=1,p_real_yn=1,d_p_mask=1,d_p_ok_mask=1 "
                    "where c_p_id='Q2'"_s);
        db::run(db, u"update tmp set d_p_b=1,p_do_yn=1 where c_p_id='Q5' and e_m_id='2'"_s);

        records::resetPracticeSession(db, f.pageId);

        QCOMPARE(db::scalar(db,
                            u"select p_a+p_b+p_c+p_d+p_e+p_f+p_do_yn+p_real_yn from test_page where page_id=? "
                            "and p_id='Q2'"_s,
                            {f.pageId})
                     .toInt(),
                 0);
        QCOMPARE(f.record(u"Q2"_s, u"p_answer"_s).toString(), u""_s);
        QVERIFY(!f.record(u"Q2"_s, u"p_answer"_s).isNull());
        QCOMPARE(f.record(u"Q2"_s, u"p_first_answer"_s).toString(), u"B"_s);
        QCOMPARE(f.record(u"Q2"_s, u"p_mask"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q2"_s, u"p_ok_mask"_s).toInt(), 1);
        QCOMPARE(f.record(u"Q2"_s, u"p_score"_s).toDouble(), 7.5);
        // The working rows start unanswered again and keep their marks.
        QCOMPARE(f.bank.count(u"tmp"_s), 9);
        QCOMPARE(f.bank.count(u"tmp"_s, u"d_p_a+d_p_b+d_p_c+d_p_d+d_p_e+d_p_f+p_do_yn+p_real_yn>0"_s), 0);
        QCOMPARE(f.tmp(u"Q2"_s, u"0"_s, u"d_p_mask"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q2"_s, u"0"_s, u"d_p_ok_mask"_s).toInt(), 1);
        QCOMPARE(f.tmp(u"Q5"_s, u"2"_s, u"e_subject_name"_s).toString(), u"小题 2"_s);
    }

    void practiceResetRebuildsWorkingCopy()
    {
        practicetest::Fixture f;
        const QSqlDatabase db = f.bank.db();
        const QString first = f.pageId;
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=1,p_answer='A' where page_id=?"_s, {first});
        // A later session replaces the working copy.
        f.clock.advance(5000);
        f.buildSession();
        QVERIFY(f.pageId != first);
        QCOMPARE(f.bank.count(u"tmp"_s, u"page_id=?"_s, {first}), 0);

        records::resetPracticeSession(db, first);

        QCOMPARE(f.bank.count(u"tmp"_s, u"page_id=?"_s, {first}), 9);
        QCOMPARE(f.bank.count(u"tmp"_s), 9);
        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and p_do_yn=1"_s, {first}), 0);
        QCOMPARE(db::scalar(db, u"select e_subject_name from tmp where c_p_id='Q5' and e_m_id='3'"_s).toString(),
                 u"小题 3"_s);
        QCOMPARE(db::scalar(db, u"select p_anwser from tmp where c_p_id='Q5' and e_m_id='2'"_s).toString(), u"BC"_s);
        QCOMPARE(db::scalar(db, u"select m_name from tmp where c_p_id='Q1'"_s).toString(), u"会计基础"_s);
    }

    void practiceResetIsAllOrNothing()
    {
        practicetest::Fixture f;
        const QSqlDatabase db = f.bank.db();
        const QString first = f.pageId;
        db::run(db, u"update test_page set p_do_yn=1,p_real_yn=1,p_answer='A' where page_id=?"_s, {first});
        f.clock.advance(5000);
        f.buildSession();
        // The rebuild of the working copy fails half-way (its case rows cannot be read).
        db::run(f.bank.contentDb(), u"drop table ex_sub"_s);

        QVERIFY_THROWS_EXCEPTION(db::Error, records::resetPracticeSession(db, first));

        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and p_do_yn=1 and p_answer='A'"_s, {first}), 7);
        QCOMPARE(f.bank.count(u"tmp"_s, u"page_id=?"_s, {f.pageId}), 9);
        QCOMPARE(f.bank.count(u"tmp"_s), 9);
    }

    void practiceInputs_data()
    {
        QTest::addColumn<Review>("review");
        QTest::addColumn<practice::QuestionSet>("set");
        QTest::addColumn<int>("total");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<bool>("cover");
        QTest::addColumn<bool>("showAnswer");
        QTest::addColumn<bool>("elapsed");
        QTest::newRow("all answers") << Review::AllAnswers << practice::QuestionSet::Session << 7 << u"skin/a_1.bmp"_s
                                     << 169 << false << false << false;
        QTest::newRow("wrong") << Review::Wrong << practice::QuestionSet::AnsweredWrong << 2 << u"skin/e_1.bmp"_s << 169
                               << false << true << true;
        QTest::newRow("right") << Review::Right << practice::QuestionSet::AnsweredRight << 2 << QString() << 0 << false
                               << true << true;
        QTest::newRow("unanswered") << Review::Unanswered << practice::QuestionSet::Unanswered << 3 << u"skin/n_1.bmp"_s
                                    << 0 << true << true << true;
        QTest::newRow("again") << Review::Again << practice::QuestionSet::Session << 7 << u"skin/s_1.bmp"_s << 0
                               << false << true << true;
    }
    void practiceInputs()
    {
        QFETCH(Review, review);
        QFETCH(practice::QuestionSet, set);
        QFETCH(int, total);
        QFETCH(QString, picture);
        QFETCH(int, panelHeight);
        QFETCH(bool, cover);
        QFETCH(bool, showAnswer);
        QFETCH(bool, elapsed);
        practicetest::Fixture f;
        answerPractice(f);
        const practice::PracticeInputs in =
            records::preparePracticeReview(f.bank.db(), review, {f.pageId, u"章节练习"_s, u"30"_s, u"09:41:07"_s});
        QCOMPARE(in.questionSet, set);
        QCOMPARE(in.pageId, f.pageId);
        QCOMPARE(in.questionTotal, total);
        QCOMPARE(in.headerPicture, picture);
        QCOMPARE(in.answerPanelHeight, panelHeight);
        QCOMPARE(in.answerCover, cover);
        QCOMPARE(in.showAnswerEnabled, showAnswer);
        QCOMPARE(in.elapsedClock, elapsed);
        QCOMPARE(in.sessionKind, u"章节练习"_s);
        QCOMPARE(in.countdownStart, 30);
        QCOMPARE(in.questionSeconds, 0);
        QVERIFY(!in.autoAdvance);
        QCOMPARE(in.startTime, u"09:41:07"_s);
        QCOMPARE(in.firstNumber, u"1"_s);
        QCOMPARE(in.fontSize, 0);
        QCOMPARE(in.fourthTypeName, u"计算分析题:"_s);
        // Only the reset changes the records.
        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and p_do_yn=1"_s, {f.pageId}),
                 review == Review::Again ? 0 : 4);
    }

    void fourthTypeByCourse_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("name");
        QTest::newRow("基础") << u"S1"_s << u"计算分析题:"_s;
        QTest::newRow("财经") << u"F1"_s << u"案例分析题:"_s;
        QTest::newRow("电算") << u"D1"_s << u"实务操作题:"_s;
        QTest::newRow("no records") << QString() << QString();
    }
    void fourthTypeByCourse()
    {
        QFETCH(QString, question);
        QFETCH(QString, name);
        TestBank bank;
        examfixture::smallBank(bank);
        if (!question.isEmpty())
            bank.insert(u"test_page"_s,
                        {u"20300101000000"_s, question, 0, 0, 0, 0, 0, 0, u""_s, 0, 0, 0, 0, u""_s, 1.0, 1});
        QCOMPARE(records::sessionFourthTypeName(bank.db(), u"20300101000000"_s), name);
    }

    void examSelection_data()
    {
        QTest::addColumn<Review>("review");
        QTest::addColumn<SessionCursor::Filter>("filter");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("marks");
        QTest::newRow("all answers") << Review::AllAnswers << SessionCursor::Filter::All << 8 << 28.0;
        // An unanswered question counts as wrong.
        QTest::newRow("wrong") << Review::Wrong << SessionCursor::Filter::Wrong << 5 << 16.0;
        QTest::newRow("right") << Review::Right << SessionCursor::Filter::Right << 3 << 12.0;
        QTest::newRow("unanswered") << Review::Unanswered << SessionCursor::Filter::Undone << 4 << 14.0;
        QTest::newRow("again") << Review::Again << SessionCursor::Filter::All << 8 << 28.0;
    }
    void examSelection()
    {
        QFETCH(Review, review);
        QFETCH(SessionCursor::Filter, filter);
        QFETCH(int, count);
        QFETCH(double, marks);
        ExamFixture f;
        QCOMPARE(records::examFilter(review), filter);
        QCOMPARE(records::examSelection(f.bank.db(), f.pageId, review), count);
        QCOMPARE(records::examReviewMarks(f.bank.db(), f.pageId, review), marks);
        // The session cursor of the reopened window holds the same rows.
        SessionCursor cursor;
        cursor.select(f.bank.db(), f.pageId, filter);
        QCOMPARE(cursor.rowCount(), count);
    }

    void examTwoUnansweredAreWrongAndUndone()
    {
        TestBank bank;
        examfixture::smallBank(bank);
        FakeClock clock(QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
        const QString pageId = paper::buildFixed(bank.db(), clock, u"T3"_s).pageId; // D1, D2, D3
        setRecord(bank.db(), pageId, u"D1"_s, true, true);
        for (const Review r : {Review::Wrong, Review::Unanswered}) {
            SessionCursor cursor;
            cursor.select(bank.db(), pageId, records::examFilter(r));
            QCOMPARE(cursor.ids(), QStringList({u"D2"_s, u"D3"_s}));
        }
        setRecord(bank.db(), pageId, u"D2"_s, true, true);
        setRecord(bank.db(), pageId, u"D3"_s, true, true);
        QCOMPARE(records::examSelection(bank.db(), pageId, Review::Wrong), 0);
        QCOMPARE(records::examSelection(bank.db(), pageId, Review::Unanswered), 0);
        db::run(bank.db(), u"update test_page set p_real_yn=0 where page_id=?"_s, {pageId});
        QCOMPARE(records::examSelection(bank.db(), pageId, Review::Right), 0);
    }

    void examResetKeepsMarksForLater()
    {
        ExamFixture f;
        const QSqlDatabase db = f.bank.db();
        db::run(db, u"update tmp set m_down='true' where c_p_id='S1'"_s);
        db::run(db, u"update test_page set p_mask=1,p_a=1 where p_id='S1'"_s);

        records::resetExamSession(db, f.pageId);

        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and (p_do_yn=1 or p_real_yn=1 or p_a=1)"_s, {f.pageId}), 0);
        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and p_answer<>''"_s, {f.pageId}), 0);
        QCOMPARE(f.record(u"K1"_s, u"p_first_answer"_s).toString(), u"1/2"_s);
        QCOMPARE(f.record(u"K1"_s, u"p_score"_s).toDouble(), 3.5);
        QCOMPARE(f.record(u"S1"_s, u"p_mask"_s).toInt(), 1);
        QCOMPARE(db::scalar(db, u"select m_down from tmp where c_p_id='S1'"_s).toString(), u"true"_s);
        QCOMPARE(f.bank.count(u"tmp"_s), 8);
    }

    void examInputs_data()
    {
        QTest::addColumn<Review>("review");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<double>("fullMarks");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("answerPanel");
        QTest::addColumn<bool>("marked");
        QTest::newRow("all answers") << Review::AllAnswers << u"模拟考试"_s << u"第1题                共计8题"_s << 28.0
                                     << u"skin/a_1.bmp"_s << true << true;
        QTest::newRow("wrong") << Review::Wrong << u"模拟考试"_s << u"第1题                共计5题"_s << 16.0
                               << u"skin/e_2.bmp"_s << true << false;
        QTest::newRow("right") << Review::Right << u"模拟考试"_s << u"第1题                共计3题"_s << 12.0
                               << u"skin/a_1.bmp"_s << true << true;
        QTest::newRow("unanswered") << Review::Unanswered << u"模拟考试"_s << u"第1题                共计4题"_s << 14.0
                                    << u"skin/n_2.bmp"_s << false << false;
        QTest::newRow("again") << Review::Again << u"重新考试"_s << u"第1题                共计8题"_s << 28.0
                               << u"skin/s_1.bmp"_s << false << true;
    }
    void examInputs()
    {
        QFETCH(Review, review);
        QFETCH(QString, kind);
        QFETCH(QString, counter);
        QFETCH(double, fullMarks);
        QFETCH(QString, picture);
        QFETCH(bool, answerPanel);
        QFETCH(bool, marked);
        ExamFixture f;
        db::run(f.bank.db(), u"update test_page set p_mask=1 where p_id='S1'"_s); // first row of all, right
        const ExamInputs in = records::prepareExamReview(f.bank.db(), review,
                                                         {f.pageId, u"模拟考试"_s, 90, 14, u"会计基础"_s,
                                                          u"2024年会计基础模拟试卷(一)"_s, u"2030-05-06 09:30:00"_s});
        QCOMPARE(in.pageId, f.pageId);
        QCOMPARE(in.filter, records::examFilter(review));
        QCOMPARE(in.sessionKind, kind);
        QCOMPARE(in.counterText, counter);
        QCOMPARE(in.fullMarks, fullMarks);
        QCOMPARE(in.modePicture, picture);
        QCOMPARE(in.answerPanelShown, answerPanel);
        QCOMPARE(in.startMarked, marked);
        QVERIFY(!in.answerCover);
        QCOMPARE(in.durationText, u"90分钟"_s);
        QCOMPARE(in.examSeconds, 5400);
        QCOMPARE(in.fontSize, 14);
        QCOMPARE(in.courseName, u"会计基础"_s);
        QCOMPARE(in.paperName, u"2024年会计基础模拟试卷(一)"_s);
        QCOMPARE(in.startText, u"2030-05-06 09:30:00"_s);
        QCOMPARE(f.bank.count(u"test_page"_s, u"page_id=? and p_do_yn=1"_s, {f.pageId}),
                 review == Review::Again ? 0 : 4);
    }

    // Handing in from a review totals the whole session, so its full marks are the whole paper's.
    void reviewHandInUsesWholePaperMarks()
    {
        ExamFixture f;
        const ExamInputs in = records::prepareExamReview(
            f.bank.db(), Review::Right, {f.pageId, u"模拟考试"_s, 120, 12, u"会计基础"_s, u"试卷"_s, {}});
        QCOMPARE(in.fullMarks, 12.0);
        ExamSession session(f.bank.db(), in);
        session.start();
        const exam::ExamResult result = session.finish(session.totals());
        QCOMPARE(result.fullMarks, u"28 分"_s);
        QCOMPARE(result.score, u"5.5 分"_s);
        QCOMPARE(result.rate, u"19.6%"_s);
        QCOMPARE(result.questionCount, u"3 题"_s);
        QCOMPARE(result.notDone, u"4 题"_s);
        QCOMPARE(db::scalar(f.bank.db(), u"select p_type from page_total where page_id=?"_s, {f.pageId}).toString(),
                 u"模拟考试"_s);
    }
};

QTEST_GUILESS_MAIN(ReviewModes)
#include "review_modes.moc"

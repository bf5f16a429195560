#include "records/review.h"

#include "db/sessionstore.h"
#include "db/sql.h"
#include "session/chaptersession.h"

using namespace Qt::StringLiterals;

namespace records {

namespace {

// The condition on test_page (alias b) of a practice review, with its bound values.
struct Condition
{
    QString sql;
    QVariantList values;
};

Condition practiceCondition(Review review)
{
    switch (review) {
    case Review::Wrong:
        return {u" and b.p_do_yn=? and b.p_real_yn=?"_s, {1, 0}};
    case Review::Right:
        return {u" and b.p_do_yn=? and b.p_real_yn=?"_s, {1, 1}};
    case Review::Unanswered:
        return {u" and b.p_do_yn=?"_s, {0}};
    case Review::AllAnswers:
    case Review::Again:
        break;
    }
    return {};
}

practice::QuestionSet practiceSet(Review review)
{
    switch (review) {
    case Review::Wrong:
        return practice::QuestionSet::AnsweredWrong;
    case Review::Right:
        return practice::QuestionSet::AnsweredRight;
    case Review::Unanswered:
        return practice::QuestionSet::Unanswered;
    case Review::AllAnswers:
    case Review::Again:
        break;
    }
    return practice::QuestionSet::Session;
}

QString practicePicture(Review review)
{
    switch (review) {
    case Review::AllAnswers:
        return u"skin/a_1.bmp"_s;
    case Review::Wrong:
        return u"skin/e_1.bmp"_s;
    case Review::Unanswered:
        return u"skin/n_1.bmp"_s;
    case Review::Again:
        return u"skin/s_1.bmp"_s;
    case Review::Right:
        break;
    }
    return {};
}

QString examPicture(Review review)
{
    switch (review) {
    case Review::Wrong:
        return u"skin/e_2.bmp"_s;
    case Review::Unanswered:
        return u"skin/n_2.bmp"_s;
    case Review::Again:
        return u"skin/s_1.bmp"_s;
    case Review::AllAnswers:
    case Review::Right:
        break;
    }
    return u"skin/a_1.bmp"_s;
}

} // namespace

QString resitKind()
{
    return u"重新考试"_s;
}

int practiceSelection(const QSqlDatabase &db, const QString &pageId, Review review)
{
    const Condition c = practiceCondition(review);
    return db::scalar(db, u"select count(b.p_id) from test_page b where b.page_id=?"_s + c.sql,
                      QVariantList{pageId} + c.values, 0)
        .toInt();
}

QString practiceEmptyMessage(Review review)
{
    switch (review) {
    case Review::Wrong:
        return u"当前无错误记录或全部未做完,请考虑是否进行练习..."_s;
    case Review::Right:
        return u"对不起!....当前全是错误记录,请点击重新进行练习"_s;
    case Review::Unanswered:
        return u"恭喜!....当前记录全部已做完...."_s;
    case Review::AllAnswers:
    case Review::Again:
        break;
    }
    return {};
}

namespace {
// Both resets clear the answers of the session's records; marks, first answers and scores stay.
void clearAnswers(const QSqlDatabase &db, const QString &pageId)
{
    db::run(db,
            u"update test_page set p_a=0,p_b=0,p_c=0,p_d=0,p_e=0,p_f=0,p_answer='',p_do_yn=0,p_real_yn=0 "
            "where page_id=?"_s,
            {pageId});
}
} // namespace

void resetPracticeSession(const QSqlDatabase &db, const QString &pageId)
{
    db::Transaction tx(db);
    clearAnswers(db, pageId);
    if (db::scalar(db, u"select count(*) from tmp where page_id=?"_s, {pageId}, 0).toInt() == 0) {
        db::clearTmp(db);
        db::copyForPractice(db, pageId);
    }
    // The working rows carry the answer state the window and the totals read; a new run starts
    // them unanswered like their records, keeping the marks.
    db::run(db,
            u"update tmp set d_p_a=0,d_p_b=0,d_p_c=0,d_p_d=0,d_p_e=0,d_p_f=0,p_answer='',p_do_yn=0,"
            "p_real_yn=0 where page_id=?"_s,
            {pageId});
    tx.commit();
}

QString sessionFourthTypeName(const QSqlDatabase &db, const QString &pageId)
{
    const QVariant course = db::scalar(db,
                                       u"select a.m_name from ma_id a,cap_id b,ex_page_id c,test_page d "
                                       "where a.m_id=b.m_id and b.c_id=c.c_id and c.p_id=d.p_id and d.page_id=? "
                                       "limit 1"_s,
                                       {pageId});
    return course.isNull() ? QString() : session::fourthTypeName(session::fourthType(course.toString()));
}

practice::PracticeInputs preparePracticeReview(const QSqlDatabase &db, Review review,
                                               const PracticeReviewContext &context)
{
    if (review == Review::Again)
        resetPracticeSession(db, context.pageId);
    practice::PracticeInputs in;
    in.sessionKind = context.sessionKind;
    in.countdownStart = context.autoTime.trimmed().toInt();
    in.questionSeconds = 0;
    in.questionTotal = practiceSelection(db, context.pageId, review);
    in.startTime = context.startTime;
    in.autoAdvance = false;
    in.elapsedClock = review != Review::AllAnswers;
    in.firstNumber = u"1"_s;
    in.fourthTypeName = sessionFourthTypeName(db, context.pageId);
    in.fontSize = 0;
    in.answerCover = review == Review::Unanswered;
    in.questionSet = practiceSet(review);
    in.pageId = context.pageId;
    in.answerPanelHeight = review == Review::Wrong || review == Review::AllAnswers ? 169 : 0;
    in.showAnswerEnabled = review != Review::AllAnswers;
    in.headerPicture = practicePicture(review);
    return in;
}

SessionCursor::Filter examFilter(Review review)
{
    switch (review) {
    case Review::Wrong:
        return SessionCursor::Filter::Wrong;
    case Review::Right:
        return SessionCursor::Filter::Right;
    case Review::Unanswered:
        return SessionCursor::Filter::Undone;
    case Review::AllAnswers:
    case Review::Again:
        break;
    }
    return SessionCursor::Filter::All;
}

int examSelection(const QSqlDatabase &db, const QString &pageId, Review review)
{
    return db::scalar(db,
                      u"select count(b.p_id) from test_page b where b.page_id=?"_s +
                          SessionCursor::cardCondition(examFilter(review)),
                      {pageId}, 0)
        .toInt();
}

QString examEmptyMessage(Review review)
{
    switch (review) {
    case Review::Wrong:
        return u"恭喜!....当前无错误记录,您太厉害了！"_s;
    case Review::Right:
        return u"对不起!....当前全是错误记录,请点击重新进行考试"_s;
    case Review::Unanswered:
        return u"当前没有未做的记录....."_s;
    case Review::AllAnswers:
    case Review::Again:
        break;
    }
    return {};
}

void resetExamSession(const QSqlDatabase &db, const QString &pageId)
{
    db::Transaction tx(db);
    clearAnswers(db, pageId);
    tx.commit();
}

double examReviewMarks(const QSqlDatabase &db, const QString &pageId, Review review)
{
    return db::scalar(db,
                      u"select sum(p_score) from ex_page_id where p_id in(select b.p_id from test_page b "
                      "where b.page_id=?"_s +
                          SessionCursor::cardCondition(examFilter(review)) + u")"_s,
                      {pageId}, 0)
        .toDouble();
}

QString examReviewCounter(int total)
{
    return u"第1题                共计%1题"_s.arg(total);
}

ExamInputs prepareExamReview(const QSqlDatabase &db, Review review, const ExamReviewContext &context)
{
    if (review == Review::Again)
        resetExamSession(db, context.pageId);
    const SessionCursor::Filter filter = examFilter(review);
    ExamInputs in;
    in.pageId = context.pageId;
    in.filter = filter;
    in.sessionKind = review == Review::Again ? resitKind() : context.sessionKind;
    in.questionTotal = examSelection(db, context.pageId, review);
    in.examSeconds = context.minutes * 60;
    in.fontSize = context.fontSize;
    in.fullMarks = examReviewMarks(db, context.pageId, review);
    in.courseName = context.courseName;
    in.paperName = context.paperName;
    in.startText = context.startText;
    in.durationText = QString::number(context.minutes) + u"分钟"_s;
    in.counterText = examReviewCounter(in.questionTotal);
    in.modePicture = examPicture(review);
    in.answerPanelShown = review == Review::AllAnswers || review == Review::Wrong || review == Review::Right;
    in.answerCover = false;
    in.startMarked = db::scalar(db,
                                u"select b.p_mask from test_page b where b.page_id=?"_s +
                                    SessionCursor::cardCondition(filter) + u" order by b.p_type,b.p_id limit 1"_s,
                                {context.pageId}, 0)
                         .toBool();
    return in;
}

} // namespace records

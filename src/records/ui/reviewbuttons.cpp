#include "records/ui/reviewbuttons.h"

#include "db/connection.h"
#include "db/sql.h"
#include "exam/ui/examwindow.h"
#include "practice/ui/practicelauncher.h"
#include "practice/ui/practicewindow.h"
#include "records/ui/examresultpanel.h"
#include "records/ui/practiceresultpanel.h"
#include "session/ui/mockexampanel.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

#include <QScopeGuard>
#include <QToolButton>

using namespace Qt::StringLiterals;
using records::Review;

namespace {

struct Button
{
    const char16_t *name;
    Review review;
};

constexpr Button kPracticeButtons[] = {{u"SpeedButton16", Review::AllAnswers},
                                       {u"SpeedButton13", Review::Wrong},
                                       {u"SpeedButton14", Review::Right},
                                       {u"SpeedButton17", Review::Unanswered},
                                       {u"SpeedButton15", Review::Again}};

constexpr Button kExamButtons[] = {{u"SpeedButton37", Review::AllAnswers},
                                   {u"SpeedButton34", Review::Wrong},
                                   {u"SpeedButton35", Review::Right},
                                   {u"SpeedButton38", Review::Unanswered},
                                   {u"SpeedButton36", Review::Again}};

} // namespace

ReviewButtons::ReviewButtons(MainWindow *main, PracticeResultPanel *practice, ExamResultPanel *exam,
                             MockExamPanel *examPanel)
    : QObject(main)
    , m_main(main)
    , m_examPanel(examPanel)
{
    setObjectName(u"reviewButtons"_s);
    for (const Button &b : kPracticeButtons) {
        auto *button = practice->findChild<QToolButton *>(QString::fromUtf16(b.name));
        connect(button, &QToolButton::clicked, this, [this, r = b.review] { practiceReview(r); });
    }
    for (const Button &b : kExamButtons) {
        auto *button = exam->findChild<QToolButton *>(QString::fromUtf16(b.name));
        connect(button, &QToolButton::clicked, this, [this, r = b.review] { examReview(r); });
    }
}

bool ReviewButtons::haveSession(const QString &message) const
{
    if (!m_main->currentPageId().isEmpty())
        return true;
    messages::inform(m_main, message, MainWindow::titleText());
    return false;
}

void ReviewButtons::practiceReview(Review review)
{
    if (!haveSession(u"当前没有练习记录,请先进行练习...."_s))
        return;
    const QString pageId = m_main->currentPageId();
    const QSqlDatabase db = db::bank();
    m_main->showWaitNotice(MainWindow::WaitNotice::Building, true);
    const auto hideNotice = qScopeGuard([this] { m_main->showWaitNotice(MainWindow::WaitNotice::Building, false); });
    const auto refuseEmpty = [&](int count) {
        if (!records::isFiltered(review) || count > 0)
            return false;
        messages::inform(m_main, records::practiceEmptyMessage(review), MainWindow::titleText());
        return true;
    };
    try {
        if (refuseEmpty(records::practiceSelection(db, pageId, review)))
            return;
        // The open practice window records and totals its answers before they are read or reset;
        // a reset rewrites the working copy like a build.
        if (review == Review::Again ? !m_main->closeSessionWindows() : !PracticeWindow::closeCurrent())
            return;
        const practice::PracticeInputs in =
            records::preparePracticeReview(db, review,
                                           {pageId, m_main->sessionKind(), m_main->config().autoTime,
                                            Clock::instance().now().toString(u"HH:mm:ss"_s)});
        if (refuseEmpty(in.questionTotal))
            return;
        openPracticeWindow(m_main, in);
    } catch (const db::Error &e) {
        messages::inform(m_main, e.message(), u"错误信息"_s);
    }
}

void ReviewButtons::examReview(Review review)
{
    if (!haveSession(u"当前没有考试记录,请先进行模拟考试...."_s))
        return;
    const QString pageId = m_main->currentPageId();
    const QSqlDatabase db = db::bank();
    m_main->showWaitNotice(MainWindow::WaitNotice::Building, true);
    const auto hideNotice = qScopeGuard([this] { m_main->showWaitNotice(MainWindow::WaitNotice::Building, false); });
    const auto refuseEmpty = [&](int count) {
        if (!records::isFiltered(review) || count > 0)
            return false;
        messages::inform(m_main, records::examEmptyMessage(review), MainWindow::titleText());
        return true;
    };
    try {
        if (refuseEmpty(records::examSelection(db, pageId, review)))
            return;
        // No window may show the answers that are about to be cleared.
        if (review == Review::Again && !m_main->closeSessionWindows())
            return;
        const ExamInputs &last = m_examPanel->lastExam();
        const ExamInputs in = records::prepareExamReview(db, review,
                                                         {pageId, m_main->sessionKind(), m_examPanel->examMinutes(),
                                                          m_examPanel->examFontSize(), last.courseName, last.paperName,
                                                          Clock::instance().now().toString(u"yyyy-MM-dd HH:mm:ss"_s)});
        m_main->setSessionKind(in.sessionKind);
        if (refuseEmpty(in.questionTotal))
            return;
        m_examPanel->openReview(in);
    } catch (const db::Error &e) {
        messages::inform(m_main, e.message(), u"错误信息"_s);
    }
}

#include "records/ui/aidpractice.h"

#include "db/connection.h"
#include "db/sql.h"
#include "practice/ui/practicelauncher.h"
#include "records/changedquestions.h"
#include "session/chaptersession.h"
#include "session/listedsession.h"
#include "shell/clock.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

using namespace Qt::StringLiterals;

namespace aids {

bool openPractice(MainWindow *main, QWidget *parent, const QStringList &pIds, const QString &sessionKind,
                  const QString &courseName)
{
    if (pIds.isEmpty()) {
        messages::inform(parent, u"没有需要练习的题目."_s, u"信息提示"_s);
        return false;
    }
    // The working copy is about to be replaced: the windows that show the old one go first.
    if (!main->closeSessionWindows())
        return false;
    session::TargetedBuild built;
    try {
        built = session::buildListedSession(db::bank(), Clock::instance(), pIds);
    } catch (const db::Error &e) {
        messages::inform(parent, e.message(), u"错误信息"_s);
        return false;
    }
    if (built.pageId.isEmpty()) {
        messages::inform(parent, u"没有需要练习的题目."_s, u"信息提示"_s);
        return false;
    }
    main->setCurrentPageId(built.pageId);
    main->setSessionKind(sessionKind);

    practice::PracticeInputs in;
    in.sessionKind = sessionKind;
    const int seconds = main->config().autoTime.toInt();
    in.countdownStart = seconds;
    in.questionSeconds = seconds;
    in.questionTotal = built.questionTotal;
    in.startTime = Clock::instance().now().toString(u"HH:mm:ss"_s);
    in.autoAdvance = false;
    in.elapsedClock = true;
    in.fourthTypeName = session::fourthTypeName(session::fourthType(courseName));
    in.answerCover = true;
    in.questionSet = practice::QuestionSet::Session;
    in.pageId = built.pageId;
    return openPracticeWindow(main, in) != nullptr;
}

void tellChangedQuestions(MainWindow *main)
{
    QList<records::ChangedQuestion> changed;
    try {
        changed = records::answeredChanged(db::bank(), QString(), true);
        if (changed.isEmpty())
            return;
        records::markChangesTold(db::bank());
    } catch (const db::Error &e) {
        messages::inform(main, e.message(), u"错误信息"_s);
        return;
    }
    if (!messages::askYesNo(main, records::changedNotice(int(changed.size())), u"信息提示"_s))
        return;
    QStringList ids;
    for (const records::ChangedQuestion &c : changed)
        ids << c.pId;
    openPractice(main, main, ids, QString::fromUtf8(kChangedKind), QString());
}

} // namespace aids

#pragma once

#include "session/targetedsession.h"

#include <QStringList>

// Practice sets of questions chosen by the study aids (a chapter's weak spots, the questions due
// for review, the questions whose key changed), built the way the targeted practice builds its
// sessions: one answer record per question (no type, no first answer, no marks) and the practice
// copy in tmp, in one transaction.
namespace session {

// Questions the bank no longer holds are left out; an empty page id when none is left.
// Throws db::Error.
TargetedBuild buildListedSession(const QSqlDatabase &db, Clock &clock, const QStringList &pIds);

} // namespace session

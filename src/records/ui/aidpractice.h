#pragma once

#include <QString>
#include <QStringList>

class MainWindow;
class QWidget;

// Opens a practice set chosen by the study aids (a weak chapter, today's review, questions whose
// key changed) in the practice window, the way the targeted practice opens its sets. The open
// session windows are asked to close first; false when one stays open, when nothing could be
// built (said in a box) or after a database error (shown).
namespace aids {

inline constexpr auto kReviewKind = "错题复习";
inline constexpr auto kWeakChapterKind = "薄弱章节练习";
inline constexpr auto kChangedKind = "答案更新练习";

bool openPractice(MainWindow *main, QWidget *parent, const QStringList &pIds, const QString &sessionKind,
                  const QString &courseName);

// At start-up: the questions answered before their key changed in an update that the learner has
// not been told of; asks whether to practise them. Each change is told once.
void tellChangedQuestions(MainWindow *main);

} // namespace aids

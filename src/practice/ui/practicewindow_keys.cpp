// The key table of the practice window; each key runs the slot of its button.
#include "practice/ui/practicequestionview.h"
#include "practice/ui/practicewindow.h"
#include "shell/ui/sessionkeys.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

void PracticeWindow::installKeys()
{
    const auto button = [this](const QString &name) { return findChild<QPushButton *>(name); };
    QList<KeyBinding> table = optionKeys([this](int k) { m_question->clickOption(k); });
    table.append({{QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)},
                  u"下一题"_s,
                  [this] { nextClick(); },
                  button(u"nextButton"_s)});
    table.append({{QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)},
                  u"上一题"_s,
                  [this] { previousClick(); },
                  button(u"previousButton"_s)});
    table.append({{QKeySequence(Qt::Key_M)}, u"标记本题或取消标记"_s, [this] { markClick(); }, m_mark});
    table.append({{QKeySequence(Qt::Key_X)}, u"显示或隐藏答案"_s, [this] { showAnswerClick(); }, m_showAnswer});
    table.append({{QKeySequence(Qt::Key_J)}, u"设为精华题目或取消"_s, [this] { essenceClick(); }, m_essence});
    table.append({{QKeySequence(Qt::Key_P)}, u"选题"_s, [this] { pickClick(); }, button(u"pickButton"_s)});
    m_keys = new SessionKeys(this, table);
}

// The key table of the exam window; each key runs what its button runs.
#include "exam/ui/answercardview.h"
#include "exam/ui/examquestionview.h"
#include "exam/ui/examwindow.h"
#include "shell/ui/sessionkeys.h"

#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

void ExamWindow::installKeys()
{
    const auto button = [this](const QString &name) { return findChild<QAbstractButton *>(name); };
    QList<KeyBinding> table = optionKeys([this](int k) { m_view->clickOption(k); });
    table.append({{QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown)},
                  u"下一题"_s,
                  [this] { navigate(Step::Next); },
                  m_next});
    table.append({{QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)},
                  u"上一题"_s,
                  [this] { navigate(Step::Previous); },
                  m_previous});
    table.append({{QKeySequence(Qt::Key_Home)}, u"第一题"_s, [this] { navigate(Step::First); }, m_first});
    table.append({{QKeySequence(Qt::Key_End)}, u"最后一题"_s, [this] { navigate(Step::Last); }, m_last});
    table.append({{QKeySequence(Qt::Key_M)}, u"待查：标记本题或取消标记"_s, [this] { m_mark->click(); }, m_mark});
    table.append({{QKeySequence(Qt::Key_X)}, u"显示或隐藏答案"_s, [this] { toggleAnswer(); }, m_answer});
    table.append({{QKeySequence(Qt::Key_K)},
                  u"转到答题卡（↑ ↓ 选题，Enter 转到该题）"_s,
                  [this] { m_card->focusCard(); },
                  nullptr});
    table.append({{QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
                  u"放大字体"_s,
                  [this] { changeFontSize(1); },
                  button(u"largerButton"_s)});
    table.append({{QKeySequence(Qt::CTRL | Qt::Key_Minus)},
                  u"缩小字体"_s,
                  [this] { changeFontSize(-1); },
                  button(u"smallerButton"_s)});
    m_keys = new SessionKeys(this, table);
}

#include "shell/ui/messages.h"

#include <QMessageBox>

namespace messages {

namespace {
Responder *g_responder = nullptr;
}

Responder::Responder()
{
    g_responder = this;
}

Responder::~Responder()
{
    if (g_responder == this)
        g_responder = nullptr;
}

Answer Responder::answer(const QString &text, const QString &caption, Answer fallback)
{
    m_shown.append({text, caption});
    return m_answers.isEmpty() ? fallback : m_answers.takeFirst();
}

void inform(QWidget *parent, const QString &text, const QString &caption)
{
    if (g_responder) {
        g_responder->answer(text, caption, Answer::Ok);
        return;
    }
    QMessageBox::information(parent, caption, text);
}

bool askYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    if (g_responder)
        return g_responder->answer(text, caption, Answer::Yes) == Answer::Yes;
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool askOkCancel(QWidget *parent, const QString &text, const QString &caption)
{
    if (g_responder)
        return g_responder->answer(text, caption, Answer::Ok) == Answer::Ok;
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

} // namespace messages

#include "shell/ui/messages.h"

#include "shell/ui/nativetitle.h"

#include <QMessageBox>

#include <cstdio>

namespace messages {

namespace {
Responder *g_responder = nullptr;

// For scripted runs of the real programs: QM_MESSAGE_LOG=1 answers every box with its default
// and writes it to standard error instead of waiting for a click.
bool logOnly(const QString &text, const QString &caption)
{
    static const bool enabled = qEnvironmentVariableIsSet("QM_MESSAGE_LOG");
    if (enabled)
        std::fprintf(stderr, "message [%s]: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
    return enabled;
}

QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon, const QString &text, const QString &caption,
                                 QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    nativetitle::applyEmpty(&box);
    // A screen reader announces the box by its caption and reads the text as its description; a
    // box without caption is announced by its text.
    box.setAccessibleName(caption.isEmpty() ? text : caption);
    box.setAccessibleDescription(text);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
} // namespace

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
    if (logOnly(text, caption))
        return;
    show(parent, QMessageBox::Information, text, caption, QMessageBox::Ok);
}

void informYes(QWidget *parent, const QString &text, const QString &caption)
{
    if (g_responder) {
        g_responder->answer(text, caption, Answer::Yes);
        return;
    }
    if (logOnly(text, caption))
        return;
    show(parent, QMessageBox::Information, text, caption, QMessageBox::Yes);
}

namespace {
// Asks with two buttons; true when the first (positive) one is taken.
bool ask(QWidget *parent, const QString &text, const QString &caption, QMessageBox::StandardButton positive,
         QMessageBox::StandardButton negative, Answer positiveAnswer)
{
    if (g_responder)
        return g_responder->answer(text, caption, positiveAnswer) == positiveAnswer;
    if (logOnly(text, caption))
        return true;
    return show(parent, QMessageBox::Question, text, caption, positive | negative) == positive;
}
} // namespace

bool askYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    return ask(parent, text, caption, QMessageBox::Yes, QMessageBox::No, Answer::Yes);
}

bool askOkCancel(QWidget *parent, const QString &text, const QString &caption)
{
    return ask(parent, text, caption, QMessageBox::Ok, QMessageBox::Cancel, Answer::Ok);
}

} // namespace messages

#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message box of both programs goes through here, so tests can answer them and read what
// was shown. Captions are the fixed ones of the system ("信息提醒", "信息提示", "提示信息",
// "错误信息", "错误警告提示", or empty).
namespace messages {

enum class Answer { Ok, Cancel, Yes, No };

void inform(QWidget *parent, const QString &text, const QString &caption);
// An information box whose only button is Yes.
void informYes(QWidget *parent, const QString &text, const QString &caption);
bool askYesNo(QWidget *parent, const QString &text, const QString &caption);    // true = Yes
bool askOkCancel(QWidget *parent, const QString &text, const QString &caption); // true = OK

// Test seam: while installed, no box is shown; each call is recorded and answered from the queue
// (Yes / OK when the queue is empty).
class Responder
{
public:
    struct Shown
    {
        QString text;
        QString caption;
    };
    Responder();
    ~Responder();
    void queue(Answer a) { m_answers.append(a); }
    const QList<Shown> &shown() const { return m_shown; }
    QString lastText() const { return m_shown.isEmpty() ? QString() : m_shown.last().text; }
    void clear() { m_shown.clear(); }

    Answer answer(const QString &text, const QString &caption, Answer fallback);

private:
    QList<Answer> m_answers;
    QList<Shown> m_shown;
};

} // namespace messages

#include "shell/ui/scriptedclicks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

using namespace Qt::StringLiterals;

ScriptedClicks::ScriptedClicks(const QStringList &steps, QObject *parent)
    : QObject(parent)
    , m_steps(steps)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(200);
    connect(m_timer, &QTimer::timeout, this, &ScriptedClicks::tick);
    if (!m_steps.isEmpty())
        m_timer->start();
}

void ScriptedClicks::startFromEnvironment(QObject *parent)
{
    const QString script = qEnvironmentVariable("QM_CLICKS");
    if (!script.trimmed().isEmpty())
        new ScriptedClicks(script.split(u' ', Qt::SkipEmptyParts), parent);
}

void ScriptedClicks::tick()
{
    if (m_steps.isEmpty()) {
        m_timer->stop();
        return;
    }
    const QString step = m_steps.constFirst();
    const bool close = step.startsWith(u"close:"_s);
    const QString name = close ? step.mid(6) : step;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (!window->isVisible())
            continue;
        if (close) {
            if (window->objectName() != name)
                continue;
            m_steps.removeFirst();
            std::fprintf(stderr, "script: close %s\n", qUtf8Printable(name));
            window->close();
            return;
        }
        const auto buttons = window->findChildren<QAbstractButton *>(name);
        for (QAbstractButton *button : buttons) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            m_steps.removeFirst();
            std::fprintf(stderr, "script: click %s\n", qUtf8Printable(name));
            button->click();
            return;
        }
    }
}

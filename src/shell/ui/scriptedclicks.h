#pragma once

#include <QObject>
#include <QStringList>

class QTimer;

// For scripted runs of the real program (with QM_MESSAGE_LOG=1 answering the message boxes):
// QM_CLICKS="SpeedButton3 sC1 sd1 close:ch_page" clicks, one after the other, the visible and
// enabled button of each object name as soon as there is one; "close:NAME" closes the visible
// window of that name. Each step is said on standard error.
class ScriptedClicks final : public QObject
{
    Q_OBJECT
public:
    explicit ScriptedClicks(const QStringList &steps, QObject *parent = nullptr);

    // Started from QM_CLICKS when it is set; nothing otherwise.
    static void startFromEnvironment(QObject *parent);

    // One look for the next step's target.
    void tick();
    bool finished() const { return m_steps.isEmpty(); }

private:
    QStringList m_steps;
    QTimer *m_timer;
};

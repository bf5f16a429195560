#pragma once

#include <QFrame>

// A small overlay ("please wait") with the looping wait animation, shown while a long step runs.
class WaitNoticePanel final : public QFrame
{
    Q_OBJECT
public:
    WaitNoticePanel(const QString &objectName, const QString &text, QWidget *parent);
};

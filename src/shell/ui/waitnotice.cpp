#include "shell/ui/waitnotice.h"

#include "shell/ui/skin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>

using namespace Qt::StringLiterals;

WaitNoticePanel::WaitNoticePanel(const QString &objectName, const QString &text, QWidget *parent)
    : QFrame(parent)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Box);
    setStyleSheet(u"#%1{background:#fffbe6;border:1px solid #c9a227}"_s.arg(objectName));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 14, 8);
    auto *animation = new QLabel(this);
    animation->setObjectName(objectName + u"_anim"_s);
    animation->setFixedSize(16, 16);
    animation->setScaledContents(true);
    animation->setMovie(skin::waitAnimation(animation));
    layout->addWidget(animation);
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName + u"_text"_s);
    layout->addWidget(label);
    adjustSize();
    hide();
}

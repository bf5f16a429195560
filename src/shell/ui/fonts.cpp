#include "shell/ui/fonts.h"

#include <QApplication>
#include <QFont>

using namespace Qt::StringLiterals;

namespace fonts {

void install()
{
    QFont::insertSubstitution(u"宋体"_s, u"Noto Serif CJK SC"_s);
    QFont::insertSubstitution(u"黑体"_s, u"Noto Sans CJK SC"_s);
    QFont::insertSubstitution(u"Arial"_s, u"DejaVu Sans"_s);
    QFont f(u"宋体"_s);
    f.setPixelSize(13);
    QApplication::setFont(f);
}

} // namespace fonts

#include "text/markstext.h"

#include <cmath>

namespace text {

QString marksText(double marks)
{
    // Halves of a cent away from zero, as a decimal reader rounds them.
    double rounded = std::round(marks * 100) / 100;
    if (rounded == 0)
        rounded = 0; // no "-0"
    QString out = QString::number(rounded, 'f', 2);
    while (out.endsWith(u'0'))
        out.chop(1);
    if (out.endsWith(u'.'))
        out.chop(1);
    return out;
}

} // namespace text

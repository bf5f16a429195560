#include "practice/editorrules.h"

#include <algorithm>

namespace practice {

LineAction addPressed(EditorVariant variant, int subItem, int line)
{
    LineAction a;
    if (line < 1 || line > 5)
        return a; // line 6's add button, where there is one, does nothing
    a.show = line + 1;
    if (variant == EditorVariant::Practice) {
        if (subItem == 3 && line >= 2)
            a.disableDelete = line;
    } else if ((subItem == 4 && line == 2) || (subItem == 5 && line == 4)) {
        a.disableDelete = line;
    }
    return a;
}

LineAction deletePressed(EditorVariant variant, int subItem, int line)
{
    LineAction a;
    if (line < 2 || line > 6)
        return a; // line 1 stays
    a.hide = line;
    if (variant == EditorVariant::Practice) {
        if (subItem == 3 && line >= 3)
            a.enableDelete = line - 1;
    } else if (subItem == 5 && line == 4) {
        a.enableDelete = 3;
    }
    return a;
}

bool hasAddButton(EditorVariant variant, int subItem, int line)
{
    if (line < 6)
        return true;
    return variant == EditorVariant::Practice && subItem == 1;
}

bool amountKeysFiltered(EditorVariant variant, int subItem)
{
    return variant == EditorVariant::Exam || subItem <= 2;
}

bool computedKeysFiltered(EditorVariant variant)
{
    return variant == EditorVariant::Exam;
}

bool filteredKeyAccepted(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'\b' || c == u'\r' || c == u'\n';
}

bool filteredTextAccepted(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return (c >= u'0' && c <= u'9') || c == u'.'; });
}

} // namespace practice

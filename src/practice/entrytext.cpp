#include "practice/entrytext.h"

using namespace Qt::StringLiterals;

namespace practice {

QString lineText(const EntryLine &line)
{
    if (line.direction == Direction::None)
        return {};
    return (line.direction == Direction::Debit ? u"借:"_s : u"贷:"_s) + line.account.trimmed() + u'=' +
           line.amount.trimmed();
}

QString subItemText(const SubItemLines &lines, bool firstSubItem)
{
    QString out;
    for (int k = 0; k < kLinesPerSubItem; ++k) {
        if (!lines[k].taken())
            continue;
        if (!(firstSubItem && k == 0))
            out += u';';
        out += lineText(lines[k]);
    }
    return out;
}

QString entriesAnswer(const EditorContent &content)
{
    QString out;
    for (int s = 0; s < kSubItems; ++s) {
        out += subItemText(content.lines[s], s == 0);
        if (s < kSubItems - 1)
            out += u'/';
    }
    return out;
}

QString amountsAnswer(const EditorContent &content)
{
    QString out;
    for (int s = 0; s < kSubItems; ++s) {
        out += content.amounts[s].trimmed();
        if (s < kSubItems - 1)
            out += u'/';
    }
    return out;
}

std::array<QString, kSubItems> splitAnswer(const QString &answer)
{
    std::array<QString, kSubItems> pieces;
    QStringView rest(answer);
    for (int k = 0; k < kSubItems; ++k) {
        const qsizetype slash = k < kSubItems - 1 ? rest.indexOf(u'/') : -1;
        if (slash < 0) {
            pieces[k] = rest.toString();
            break;
        }
        pieces[k] = rest.left(slash).toString();
        rest = rest.mid(slash + 1);
    }
    return pieces;
}

SubItemLines parseSubItem(const QString &text)
{
    SubItemLines lines;
    if (!text.contains(u':'))
        return lines;
    QStringView rest(text);
    if (rest.startsWith(u';'))
        rest = rest.mid(1);
    for (int k = 0; k < kLinesPerSubItem; ++k) {
        const qsizetype semicolon = rest.indexOf(u';');
        const QStringView segment = semicolon < 0 ? rest : rest.left(semicolon);
        EntryLine &line = lines[k];
        line.shown = true;
        line.direction = segment.startsWith(u'借') ? Direction::Debit : Direction::Credit;
        // The account starts after the direction's two characters, whatever they are.
        const qsizetype eq = segment.indexOf(u'=', 2);
        line.account = (eq < 0 ? segment.mid(2) : segment.mid(2, eq - 2)).toString();
        line.amount = eq < 0 ? QString() : segment.mid(eq + 1).toString();
        if (semicolon < 0)
            break;
        rest = rest.mid(semicolon + 1);
    }
    return lines;
}

EditorContent editorContentFor(bool amountsMode, bool done, const QString &answer, bool *notDone)
{
    EditorContent content;
    if (notDone)
        *notDone = false;
    const bool hasLines = answer.contains(u':');
    if (done && amountsMode) {
        content.amounts = splitAnswer(answer);
        return content;
    }
    if (done && hasLines) {
        const auto pieces = splitAnswer(answer);
        for (int s = 0; s < kSubItems; ++s)
            content.lines[s] = parseSubItem(pieces[s]);
    } else if (done && notDone) {
        *notDone = true;
    }
    if (!amountsMode) {
        for (SubItemLines &lines : content.lines) {
            lines[0].shown = true;
            lines[1].shown = true;
        }
    }
    return content;
}

} // namespace practice

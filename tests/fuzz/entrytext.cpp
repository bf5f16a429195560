// The entry-line notation of stored answers and of the bank's keys: a text that parses prints back to
// the same lines, printing is a fixed point, and a key's own lines earn its full marks.
#include "fuzzcheck.h"

#include "practice/entrytext.h"
#include "practice/judging.h"

using namespace practice;

namespace {

// The lines as printed: blanks around account and amount do not count.
QStringList printedLines(const EditorContent &content)
{
    QStringList out;
    for (int s = 0; s < kSubItems; ++s) {
        for (const EntryLine &line : content.lines[s]) {
            if (line.taken())
                out << QString::number(s) + u'|' + lineText(line);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString answer = QString::fromUtf8(fuzz::bytesOf(data, size));

    // Entries mode.
    bool notDone = false;
    const EditorContent content = editorContentFor(false, true, answer, &notDone);
    FUZZ_CHECK(notDone == !answer.contains(u':'), answer);
    const QString printed = entriesAnswer(content);
    FUZZ_CHECK(printed.count(u'/') == kSubItems - 1 + printedLines(content).join(QString()).count(u'/'), printed);
    const EditorContent again = editorContentFor(false, true, printed);
    FUZZ_CHECK(printedLines(again) == printedLines(content), answer, printed);
    FUZZ_CHECK(entriesAnswer(again) == printed, answer, printed, entriesAnswer(again));

    // Amounts mode.
    const QString amounts = amountsAnswer(editorContentFor(true, true, answer));
    FUZZ_CHECK(amountsAnswer(editorContentFor(true, true, amounts)) == amounts, answer, amounts);

    // The pieces of the text taken as the bank's keys, printed the way keys are written: entering
    // exactly a key's lines earns every used sub-item's share.
    const auto pieces = splitAnswer(answer);
    SubItemAnswers keys;
    EditorContent typed;
    int used = 0;
    for (int s = 0; s < kSubItems; ++s) {
        typed.lines[s] = parseSubItem(pieces[s]);
        keys[s] = subItemText(typed.lines[s], true);
        if (keys[s].isEmpty() || keys[s] == u"-")
            keys[s] = QStringLiteral("-");
        else
            ++used;
    }
    const CalculationResult result = judgeEntries(typed, keys, 60);
    FUZZ_CHECK(qAbs(result.score - (used ? 60.0 / used * used : 0)) < 0.05, answer, QString::number(result.score));
    return 0;
}

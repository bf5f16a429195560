#pragma once

#include <QChar>
#include <QString>

// The rules of the accounting-entry editor that differ between the practice window and the exam
// window: what the add and delete buttons of a line do, which lines have an add button and which
// amount boxes take digits only. Sub-items and lines are numbered from 1.
namespace practice {

enum class EditorVariant {
    // Line 6 of sub-item 1 has an add button that does nothing, the other sub-items have none.
    // In sub-item 3 only the most recently added line can be deleted. Only the amount boxes of
    // sub-items 1 and 2 take digits only.
    Practice,
    // Line 6 has no add button anywhere. Sub-item 4: adding after line 2 locks line 2's delete
    // button; sub-item 5: adding after line 4 locks line 4's delete, deleting line 4 unlocks line 3's.
    // Every amount box and every computed-amount box takes digits only.
    Exam,
};

// What one press changes; 0 = nothing.
struct LineAction
{
    int show = 0;
    int hide = 0;
    int disableDelete = 0;
    int enableDelete = 0;
    bool operator==(const LineAction &) const = default;
};

LineAction addPressed(EditorVariant variant, int subItem, int line);
LineAction deletePressed(EditorVariant variant, int subItem, int line);
bool hasAddButton(EditorVariant variant, int subItem, int line);

// Whether the amount boxes of a sub-item's entry lines, or its computed-amount box, take digits only.
bool amountKeysFiltered(EditorVariant variant, int subItem);
bool computedKeysFiltered(EditorVariant variant);

// The keys a filtered box takes: "0".."9", ".", Backspace and Enter (as typed characters).
bool filteredKeyAccepted(QChar c);
// Whether a filtered box takes a pasted or dropped text: only digits and ".", as typing would.
bool filteredTextAccepted(const QString &text);

} // namespace practice

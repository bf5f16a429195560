#pragma once

#include "practice/editorrules.h"
#include "practice/entrytext.h"

#include <QWidget>

#include <array>

class AccountPicker;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class QValidator;

// The answer editor of calculation questions, shared by the practice and the exam window: six
// sub-item panels stacked in a vertical scroll area, each with its number label, a computed-amount
// box (amounts mode) and six entry lines (direction 借/贷, account box with "…" picker, amount box,
// delete and add buttons). Line 1 covers the computed-amount box, which shows only while lines 1
// and 2 are hidden.
//
// The editor holds no question: a window loads it with setContent() and reads it with content().
// Where the two windows differ (add/delete chains, line 6's add button, which amount boxes take
// digits only) the variant given at construction decides; see practice::EditorVariant.
//
// Object names, s = sub-item 1..6, l = line 1..6: subItem<s>, subItemNumber<s>, computedAmount<s>,
// line<s>_<l>, debit<s>_<l>, credit<s>_<l>, account<s>_<l>, pick<s>_<l>, amount<s>_<l>,
// delete<s>_<l>, add<s>_<l>; the picker is accountPicker (see AccountPicker).
class EntryEditor final : public QWidget
{
    Q_OBJECT
public:
    // The button pictures are skin/a1.bmp, a2, b1, b2; missing pictures show text.
    explicit EntryEditor(practice::EditorVariant variant = practice::EditorVariant::Practice,
                         QWidget *parent = nullptr);
    ~EntryEditor() override;

    practice::EditorVariant variant() const { return m_variant; }

    // Sub-item k is shown when its correct answer is not "-".
    void setSubItemsShown(const std::array<bool, practice::kSubItems> &shown);
    // The number labels read "<number>-1".."<number>-6", or "1-1".."1-6" when number is not a number.
    void setNumber(const QString &numberWithinType);
    // Replaces every box, direction and line visibility; the delete buttons' enabled states and the
    // account picker stay.
    void setContent(const practice::EditorContent &content);
    practice::EditorContent content() const;
    // Replaces the text of every box by its trimmed text (done before an entries-mode check).
    void trimAll();

    AccountPicker *accountPicker() const { return m_picker; }

private:
    struct Line
    {
        QWidget *row = nullptr;
        QToolButton *debit = nullptr;
        QToolButton *credit = nullptr;
        QLineEdit *account = nullptr;
        QLineEdit *amount = nullptr;
        QToolButton *remove = nullptr;
        QToolButton *add = nullptr;
    };
    struct SubItem
    {
        QWidget *panel = nullptr;
        QLabel *number = nullptr;
        QWidget *computedRow = nullptr;
        QLineEdit *computed = nullptr;
        std::array<Line, practice::kLinesPerSubItem> lines;
    };

    QWidget *buildSubItem(int s);
    QWidget *buildLine(int s, int l);
    void apply(int s, const practice::LineAction &action);
    void setLineShown(int s, int l, bool shown);
    void updateComputedRow(int s);

    practice::EditorVariant m_variant;
    QScrollArea *m_scroll = nullptr;
    std::array<SubItem, practice::kSubItems> m_items;
    AccountPicker *m_picker = nullptr;
    QObject *m_keyFilter = nullptr;
    QValidator *m_digitsOnly = nullptr;
};

#pragma once

#include "practice/practicesession.h"

#include <QFrame>

class QTableWidget;
class QTextEdit;

// The question picker ("选  题"): the question set as a list sharing the window's current row.
// Highlighting a row makes it current; "返回" or a double-click hides the picker. Answered rows are
// drawn in red, the highlighted row of an unanswered question in white, the others in black.
//
// Object names: questionPicker, pickerList, pickerStem, pickerBack.
class QuestionPicker final : public QFrame
{
    Q_OBJECT
public:
    explicit QuestionPicker(QWidget *parent = nullptr);

    void fill(const QList<practice::PracticeRow> &rows, int current);
    // While open: the window's current row moved or its state changed; highlight and cells follow.
    void follow(const QList<practice::PracticeRow> &rows, int current);
    // Shows the picker centred over area (a sibling or the parent).
    void openOver(const QWidget *area);

Q_SIGNALS:
    void highlighted(int index);

private:
    void setCells(int r, const practice::PracticeRow &row);
    void setCurrent(int current);

    QTableWidget *m_list = nullptr;
    QTextEdit *m_stem = nullptr;
    QList<QString> m_stems;
};

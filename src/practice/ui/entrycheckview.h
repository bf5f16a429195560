#pragma once

#include "practice/entrycheck.h"

#include <QTextBrowser>

// The line-by-line explanation of an entries-mode answer beside the answer panel of the practice
// and exam windows: one heading per sub-item, right lines in green and faults in red. Hidden while
// it has nothing to explain.
class EntryCheckView final : public QTextBrowser
{
    Q_OBJECT
public:
    explicit EntryCheckView(QWidget *parent = nullptr);

    void showChecks(const QList<practice::SubItemCheck> &checks);
    // The explanation of a stored answer; nothing for an answer without entry lines.
    void showAnswer(const QString &answer, const practice::SubItemAnswers &key);
    void clearChecks();
    bool hasChecks() const { return m_has; }

private:
    bool m_has = false;
};

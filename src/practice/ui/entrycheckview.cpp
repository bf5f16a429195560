#include "practice/ui/entrycheckview.h"

using namespace Qt::StringLiterals;

EntryCheckView::EntryCheckView(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(u"entryCheck"_s);
    setAccessibleName(u"分录逐行对照"_s);
    setOpenLinks(false);
    hide();
}

void EntryCheckView::showChecks(const QList<practice::SubItemCheck> &checks)
{
    m_has = !checks.isEmpty();
    if (!m_has) {
        clearChecks();
        return;
    }
    // The plain-text form is what a screen reader gets and what tests read back.
    const QStringList plain = practice::explanationText(checks).split(u'\n');
    QString html = u"<div style='font-weight:bold;color:#000080'>分录逐行对照</div>"_s;
    int k = 0;
    for (const practice::SubItemCheck &c : checks) {
        const QString color = c.faults() == 0 && c.credited ? u"#006000"_s : u"#C00000"_s;
        html += u"<div style='color:%1;margin-top:2px'>%2</div>"_s.arg(color, plain.at(k++).toHtmlEscaped());
        for (const practice::LineCheck &line : c.lines) {
            const bool right = line.verdict == practice::LineVerdict::Right;
            html += u"<div style='color:%1'>&nbsp;&nbsp;%2 %3</div>"_s.arg(
                right ? u"#006000"_s : u"#C00000"_s, right ? u"✓"_s : u"✗"_s, plain.at(k++).trimmed().toHtmlEscaped());
        }
    }
    setHtml(html);
    show();
}

void EntryCheckView::showAnswer(const QString &answer, const practice::SubItemAnswers &key)
{
    if (!answer.contains(u':')) {
        clearChecks();
        return;
    }
    showChecks(practice::checkEntries(answer, key));
}

void EntryCheckView::clearChecks()
{
    m_has = false;
    clear();
    hide();
}

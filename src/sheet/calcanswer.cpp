#include "sheet/calcanswer.h"

#include "practice/chartofaccounts.h"
#include "practice/entrytext.h"
#include "sheet/sheetcolumns.h"

#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

const QString kUnused = u"-"_s;

QString halfWidth(QString text)
{
    return text.replace(u'：', u':').replace(u'；', u';').replace(u'＝', u'=');
}

bool isAmount(const QString &text, bool signedAllowed)
{
    static const QRegularExpression plain(u"^\\d+(\\.\\d+)?$"_s);
    static const QRegularExpression withSign(u"^-?\\d+(\\.\\d+)?$"_s);
    return (signedAllowed ? withSign : plain).match(text).hasMatch();
}

// One sub-item of entry lines, rebuilt in the bank's notation; false with its problems.
bool parseEntries(int item, const QString &text, QString *out, QStringList *problems)
{
    const QStringList lines = text.split(u';', Qt::SkipEmptyParts);
    const int before = int(problems->size());
    if (lines.size() > practice::kLinesPerSubItem)
        problems->append(u"第%1小题最多%2行分录"_s.arg(item).arg(practice::kLinesPerSubItem));
    static const QRegularExpression lineRe(u"^([借贷])\\s*:\\s*([^=]+?)\\s*=\\s*(.+)$"_s);
    double debit = 0;
    double credit = 0;
    QStringList rebuilt;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        const auto m = lineRe.match(line);
        if (!m.hasMatch()) {
            problems->append(u"第%1小题的分录 \"%2\" 应写作\"借:科目=金额\"或\"贷:科目=金额\""_s.arg(item).arg(line));
            continue;
        }
        const QString account = m.captured(2);
        const QString amount = m.captured(3).trimmed();
        if (!practice::isAccount(account))
            problems->append(u"第%1小题的科目 \"%2\" 不在会计科目表中"_s.arg(item).arg(account));
        if (!isAmount(amount, false)) {
            problems->append(u"第%1小题的金额 \"%2\" 不是正数"_s.arg(item).arg(amount));
            continue;
        }
        (m.captured(1) == u"借" ? debit : credit) += amount.toDouble();
        rebuilt << m.captured(1) + u':' + account + u'=' + amount;
    }
    if (problems->size() == before && std::abs(debit - credit) >= 0.005)
        problems->append(
            u"第%1小题借贷不平衡: 借方合计 %2, 贷方合计 %3"_s.arg(item).arg(numberText(debit), numberText(credit)));
    *out = rebuilt.join(u';');
    return problems->size() == before;
}

} // namespace

bool parseCalcAnswer(const QString &cell, CalcAnswer *answer, QStringList *problems)
{
    *answer = {};
    const int before = int(problems->size());
    const QString text = halfWidth(cell).trimmed();
    if (text.isEmpty()) {
        problems->append(u"计算分析题须填写各小题的答案"_s);
        return false;
    }
    const QStringList items = text.split(u'/');
    if (items.size() > practice::kSubItems) {
        problems->append(u"计算分析题最多%1个小题, 这里有%2个"_s.arg(practice::kSubItems).arg(items.size()));
        return false;
    }
    int entryItems = 0;
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        entryItems += item.contains(u':') || item.startsWith(u'借') || item.startsWith(u'贷') ? 1 : 0;
    }
    answer->amounts = entryItems == 0;
    if (entryItems != 0 && entryItems != items.size()) {
        problems->append(u"各小题须同为金额或同为分录"_s);
        return false;
    }
    for (qsizetype k = 0; k < items.size(); ++k) {
        const int n = int(k) + 1;
        const QString item = items.at(k).trimmed();
        if (item.isEmpty()) {
            problems->append(u"第%1小题为空"_s.arg(n));
            continue;
        }
        if (answer->amounts) {
            if (!isAmount(item, true))
                problems->append(u"第%1小题的金额 \"%2\" 不是数字"_s.arg(n).arg(item));
            answer->items << item;
            continue;
        }
        QString rebuilt;
        parseEntries(n, item, &rebuilt, problems);
        answer->items << rebuilt;
    }
    return problems->size() == before;
}

QString calcAnswerCell(const QStringList &cells)
{
    QStringList used;
    for (const QString &c : cells) {
        if (c != kUnused)
            used << c;
    }
    return used.join(u'/');
}

QString calcReferenceAnswer(const QStringList &cells, bool amounts)
{
    QStringList parts;
    for (qsizetype k = 0; k < cells.size(); ++k) {
        if (cells.at(k) == kUnused)
            continue;
        QString t = cells.at(k);
        if (!amounts)
            t.replace(u':', u'：').replace(u'=', u' ').replace(u';', u'，');
        parts << u"(%1)%2"_s.arg(k + 1).arg(t);
    }
    const QString joined = parts.join(u'；');
    return joined.size() <= kMaxAnswerLength ? joined : u"见答案解析"_s;
}

QString caseReferenceAnswer(const QStringList &letters)
{
    QStringList shown;
    for (qsizetype k = 0; k < letters.size(); ++k)
        shown << u"%1.%2"_s.arg(k + 1).arg(letters.at(k));
    return shown.join(u'；');
}

} // namespace sheet

#include "practice/entrycheck.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace practice {

namespace {

constexpr int kNoPair = std::numeric_limits<int>::max() / 4;

struct Pairing
{
    int cost = kNoPair;
    LineVerdict verdict = LineVerdict::Right;
};

Pairing pairing(const KeyLine &given, const KeyLine &key)
{
    const bool side = given.direction == key.direction;
    const bool account = given.account == key.account;
    const bool amount = sameAmount(given.amount, key.amount);
    const int differences = int(!side) + int(!account) + int(!amount);
    if (differences == 0)
        return {0, LineVerdict::Right};
    if (differences > 1)
        return {};
    return {1, !side ? LineVerdict::WrongSide : !account ? LineVerdict::WrongAccount : LineVerdict::WrongAmount};
}

KeyLine fromEntryLine(const EntryLine &line)
{
    return {line.direction, line.account.trimmed(), line.amount.trimmed()};
}

} // namespace

int SubItemCheck::faults() const
{
    int n = 0;
    for (const LineCheck &c : lines)
        n += c.verdict == LineVerdict::Right ? 0 : 1;
    return n;
}

QList<KeyLine> keyLines(const QString &key)
{
    QList<KeyLine> out;
    const QString text = key.trimmed();
    if (text.isEmpty() || text == u"-")
        return out;
    for (const QString &piece : text.split(u';', Qt::SkipEmptyParts)) {
        const QString t = piece.trimmed();
        KeyLine line;
        line.direction = t.startsWith(u'借')   ? Direction::Debit
                         : t.startsWith(u'贷') ? Direction::Credit
                                               : Direction::None;
        const qsizetype colon = t.indexOf(u':');
        const qsizetype eq = t.indexOf(u'=');
        const qsizetype from = colon < 0 ? 0 : colon + 1;
        line.account = (eq < 0 ? t.mid(from) : t.mid(from, eq - from)).trimmed();
        line.amount = eq < 0 ? QString() : t.mid(eq + 1).trimmed();
        out.append(line);
    }
    return out;
}

bool sameAmount(const QString &a, const QString &b)
{
    const QString x = a.trimmed();
    const QString y = b.trimmed();
    if (x == y)
        return true;
    bool okX = false;
    bool okY = false;
    const double vx = QString(x).remove(u',').toDouble(&okX);
    const double vy = QString(y).remove(u',').toDouble(&okY);
    return okX && okY && std::abs(vx - vy) < 0.005;
}

QList<LineCheck> checkLines(const QList<KeyLine> &given, const QList<KeyLine> &key)
{
    const int n = int(given.size());
    const int m = int(key.size());
    // Learner's lines are few (the editor has six per sub-item); key lines are walked one by one,
    // each either left missing or paired with a learner's line not yet used.
    Q_ASSERT(n <= 16);
    const int states = 1 << n;
    QList<Pairing> pairs(qsizetype(n) * m);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j)
            pairs[i * m + j] = pairing(given.at(i), key.at(j));
    }
    // best[j][mask]: fewest faults for key lines j.. when the learner's lines in mask are taken;
    // choice[j][mask]: the learner's line paired with key line j, or -1 for missing.
    QList<int> best(qsizetype(m + 1) * states, kNoPair);
    QList<int> choice(qsizetype(m) * states, -1);
    for (int mask = 0; mask < states; ++mask)
        best[m * states + mask] = n - int(qPopulationCount(quint32(mask)));
    for (int j = m - 1; j >= 0; --j) {
        for (int mask = 0; mask < states; ++mask) {
            int cost = 1 + best[(j + 1) * states + mask];
            int pick = -1;
            for (int i = 0; i < n; ++i) {
                const Pairing &p = pairs[i * m + j];
                if ((mask & (1 << i)) || p.cost == kNoPair)
                    continue;
                const int c = p.cost + best[(j + 1) * states + (mask | (1 << i))];
                if (c < cost || (c == cost && pick < 0)) {
                    cost = c;
                    pick = i;
                }
            }
            best[j * states + mask] = cost;
            choice[j * states + mask] = pick;
        }
    }

    QList<int> pairedWith(n, -1);
    QList<int> missing;
    int mask = 0;
    for (int j = 0; j < m; ++j) {
        const int i = choice[j * states + mask];
        if (i < 0) {
            missing.append(j);
            continue;
        }
        pairedWith[i] = j;
        mask |= 1 << i;
    }
    QList<LineCheck> out;
    for (int i = 0; i < n; ++i) {
        const int j = pairedWith.at(i);
        if (j < 0)
            out.append({LineVerdict::Extra, given.at(i), {}});
        else
            out.append({pairs[i * m + j].verdict, given.at(i), key.at(j)});
    }
    for (int j : missing)
        out.append({LineVerdict::Missing, {}, key.at(j)});
    return out;
}

QList<SubItemCheck> checkEntries(const EditorContent &content, const SubItemAnswers &key)
{
    QList<SubItemCheck> out;
    for (int s = 0; s < kSubItems; ++s) {
        QList<KeyLine> given;
        for (const EntryLine &line : content.lines[s]) {
            if (line.taken())
                given.append(fromEntryLine(line));
        }
        const QList<KeyLine> expected = keyLines(key[s]);
        if (given.isEmpty() && expected.isEmpty())
            continue;
        out.append({s + 1, entriesSubItemCredited(content.lines[s], key[s]), checkLines(given, expected)});
    }
    return out;
}

QList<SubItemCheck> checkEntries(const QString &answer, const SubItemAnswers &key)
{
    return checkEntries(editorContentFor(false, true, answer), key);
}

QString keyLineText(const KeyLine &line)
{
    const QString side = line.direction == Direction::Debit    ? u"借:"_s
                         : line.direction == Direction::Credit ? u"贷:"_s
                                                               : QString();
    const QString blank = u"（空）"_s;
    return side + (line.account.isEmpty() ? blank : line.account) + u'=' +
           (line.amount.isEmpty() ? blank : line.amount);
}

QString describe(const LineCheck &check)
{
    const QString given = keyLineText(check.given);
    switch (check.verdict) {
    case LineVerdict::Right:
        return u"正确："_s + given;
    case LineVerdict::WrongSide:
        return u"方向错误："_s + given + u"，应记"_s +
               (check.expected.direction == Direction::Debit ? u"借方"_s : u"贷方"_s);
    case LineVerdict::WrongAccount:
        return u"科目错误："_s + given + u"，应为 "_s + check.expected.account;
    case LineVerdict::WrongAmount:
        return u"金额错误："_s + given + u"，应为 "_s + check.expected.amount;
    case LineVerdict::Missing:
        return u"缺少："_s + keyLineText(check.expected);
    case LineVerdict::Extra:
        break;
    }
    return u"多余："_s + given;
}

QString explanationText(const QList<SubItemCheck> &checks)
{
    QStringList out;
    for (const SubItemCheck &c : checks) {
        const int faults = c.faults();
        QString heading = u"第%1小题："_s.arg(c.subItem) + (faults == 0 ? u"各行正确"_s : u"%1处错误"_s.arg(faults));
        heading += c.credited ? u"（得分）"_s : u"（不得分）"_s;
        if (faults == 0 && !c.credited)
            heading += u" 金额的写法与答案不同"_s;
        out << heading;
        for (const LineCheck &line : c.lines)
            out << u"  "_s + describe(line);
    }
    return out.join(u'\n');
}

} // namespace practice

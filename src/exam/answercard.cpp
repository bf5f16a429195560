#include "exam/answercard.h"

#include "db/questiontypes.h"
#include "db/sql.h"
#include "text/gbk.h"
#include "text/listtext.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace exam {

namespace {

bool isTrue(const QString &flag)
{
    return flag.trimmed() == u"true";
}

} // namespace

QString slashItem(const QString &text, int k)
{
    qsizetype start = 0;
    for (int piece = 1; piece <= k; ++piece) {
        const qsizetype slash = text.indexOf(u'/', start);
        if (slash < 0)
            return {};
        if (piece == k)
            return text.mid(start, slash - start);
        start = slash + 1;
    }
    return {};
}

QString nodeText(int number, const QString &answer, int sub)
{
    QString shown = text::gbkLeft(answer, 8);
    if (shown.size() < answer.size())
        shown += u"..."_s;
    shown += QString(31, u' ');
    if (sub == 0)
        return QString::number(number) + u" ["_s + text::gbkLeft(shown, 14) + u']';
    return QString::number(number) + u'-' + QString::number(sub) + u" ["_s + text::gbkLeft(shown, 13) + u']';
}

QString headingText(int type, int count)
{
    return db::typeName(type) + u"(共"_s + QString::number(count) + u"题)"_s;
}

NodeColours colours(NodeState state)
{
    switch (state) {
    case NodeState::Heading:
        return {0xFFFFFF, 0x008080};
    case NodeState::Current:
        return {0xFFFF00, 0x000000};
    case NodeState::Marked:
        return {0xBE7E7E, 0x000000};
    case NodeState::Done:
        return {0x00FFFF, 0x000000};
    case NodeState::DoneBlank:
    case NodeState::NotDone:
        break;
    }
    return {0xE3E3E3, 0x000000};
}

AnswerCard AnswerCard::build(const QSqlDatabase &db, const QString &pageId, SessionCursor::Filter filter)
{
    const QString condition = SessionCursor::cardCondition(filter);
    AnswerCard card;

    std::array<int, 7> counts{};
    QSqlQuery q = db::run(db,
                          u"select a.p_type,count(b.p_id) from ex_page_id a,test_page b where a.p_id=b.p_id "
                          "and b.page_id=?"_s +
                              condition + u" group by a.p_type"_s,
                          {pageId});
    while (q.next()) {
        const int type = q.value(0).toInt();
        if (type >= 1 && type <= 6)
            counts[type] = q.value(1).toInt() * (type == 4 ? 4 : type == 5 ? 5 : 1);
    }

    // Sub-question count of every case question of the session.
    QHash<QString, int> subCounts;
    q = db::run(db,
                u"select s.p_id,count(s.m_id) from ex_sub s,test_page b where s.p_id=b.p_id and b.page_id=? "
                "and b.p_type=5"_s +
                    condition + u" group by s.p_id"_s,
                {pageId});
    while (q.next())
        subCounts.insert(q.value(0).toString(), q.value(1).toInt());

    q = db::run(db,
                u"select b.p_id,b.p_type,b.p_answer,b.p_do_yn,a.m_down from tmp a,test_page b where a.c_p_id=b.p_id "
                "and b.page_id=? and b.p_type between 1 and 6"_s +
                    condition + u" order by b.p_type,b.p_id"_s,
                {pageId});
    int headingType = 0;
    int number = 0;
    int row = 0;
    while (q.next()) {
        CardNode node;
        node.pId = q.value(0).toString();
        node.type = q.value(1).toInt();
        const QString answer = q.value(2).toString();
        node.done = q.value(3).toBool();
        const QString marks = q.value(4).toString();
        if (node.type != headingType) {
            headingType = node.type;
            number = 0;
            if (counts[node.type] < 1)
                continue; // no heading, no nodes: the question is not in the paper's question table
            CardNode heading;
            heading.heading = true;
            heading.text = headingText(node.type, counts[node.type]);
            card.m_nodes.append(heading);
        } else if (counts[node.type] < 1) {
            continue;
        }
        node.row = ++row;
        node.key.number = ++number;
        const auto add = [&](int sub, const QString &item, bool marked) {
            CardNode n = node;
            n.key.sub = sub;
            n.answerItem = item;
            n.marked = marked;
            n.text = nodeText(n.key.number, item, sub);
            card.m_nodes.append(n);
        };
        if (node.type == 4) {
            const bool split = !answer.isEmpty() && answer != u"//////";
            for (int k = 1; k <= 4; ++k)
                add(k, split ? slashItem(answer, k) : QString(), isTrue(slashItem(marks, k)));
        } else if (node.type == 5 && subCounts.value(node.pId) > 0) {
            for (int k = 1; k <= subCounts.value(node.pId); ++k)
                add(k, text::listItem(answer, 6, u'/', k), isTrue(text::listItem(marks, 6, u'/', k)));
        } else {
            add(0, answer, isTrue(marks));
        }
    }
    return card;
}

int AnswerCard::reselect(const QString &pId, const std::optional<NodeKey> &remembered) const
{
    int found = -1;
    for (int k = 0; k < size(); ++k) {
        const CardNode &n = m_nodes.at(k);
        if (n.heading || n.pId != pId)
            continue;
        if (!remembered)
            found = k;
        else if (n.key == *remembered)
            return k;
    }
    return found;
}

int AnswerCard::nextNode(int index) const
{
    for (int k = index + 1; k < size(); ++k) {
        if (!m_nodes.at(k).heading)
            return k;
    }
    return -1;
}

int AnswerCard::previousNode(int index) const
{
    for (int k = qMin(index, size()) - 1; k >= 0; --k) {
        if (!m_nodes.at(k).heading)
            return k;
    }
    return -1;
}

NodeState AnswerCard::state(int index, bool selected) const
{
    const CardNode &n = m_nodes.at(index);
    if (n.heading)
        return NodeState::Heading;
    if (selected)
        return NodeState::Current;
    if (n.marked)
        return NodeState::Marked;
    if (n.done) {
        const qsizetype open = n.text.indexOf(u'[');
        const bool blank = n.text.mid(open + 1, n.text.size() - open - 2).trimmed().isEmpty();
        return (n.type == 4 || n.type == 5) && blank ? NodeState::DoneBlank : NodeState::Done;
    }
    return NodeState::NotDone;
}

QString stateName(NodeState state)
{
    switch (state) {
    case NodeState::Heading:
        return {};
    case NodeState::Current:
        return u"当前"_s;
    case NodeState::Marked:
        return u"待查"_s;
    case NodeState::Done:
        return u"已做"_s;
    case NodeState::DoneBlank: // drawn as not done: its answer is still empty
    case NodeState::NotDone:
        return u"未做"_s;
    }
    return {};
}

} // namespace exam

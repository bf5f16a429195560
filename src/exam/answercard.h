#pragma once

#include "exam/sessioncursor.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The answer card of the exam window as data: one heading per question type present, then its
// question nodes (four per calculation question, one per case sub-question), each with its text,
// state and the row of the session cursor it leads to. The tree widget only draws this.
namespace exam {

// The number part of a node: question number within its type and sub-number (0 = none).
struct NodeKey
{
    int number = 0;
    int sub = 0;
    bool operator==(const NodeKey &) const = default;
};

struct CardNode
{
    bool heading = false;
    QString text;
    // Question nodes only:
    QString pId;
    int type = 0;
    int row = 0; // 1-based position of the question among the card's questions
    NodeKey key;
    bool done = false;
    bool marked = false;
    QString answerItem; // the answer (or answer item) the text shows
};

// How a node is drawn, in the order the rules apply.
enum class NodeState { Heading, Current, Marked, DoneBlank, Done, NotDone };

struct NodeColours
{
    quint32 background; // 0xRRGGBB
    quint32 text;
};

class AnswerCard
{
public:
    // Reads the card of a session (condition of the review filter appended to its queries). Throws db::Error.
    static AnswerCard build(const QSqlDatabase &db, const QString &pageId,
                            SessionCursor::Filter filter = SessionCursor::Filter::All);

    const QList<CardNode> &nodes() const { return m_nodes; }
    int size() const { return int(m_nodes.size()); }
    const CardNode &at(int index) const { return m_nodes.at(index); }

    // The node to select after a rebuild: the node of the question whose number part is the
    // remembered key, or without a key the last node of the question; -1 when none fits.
    int reselect(const QString &pId, const std::optional<NodeKey> &remembered) const;

    // Next / previous question node from index, skipping headings; -1 at the ends.
    int nextNode(int index) const;
    int previousNode(int index) const;

    NodeState state(int index, bool selected) const;

private:
    QList<CardNode> m_nodes;
};

// "3 [AB            ]" and "1-2 [             ]": the first 8 GBK bytes of the answer ("..." when it
// is longer), padded with blanks and cut to 14 bytes (13 for a sub-item).
QString nodeText(int number, const QString &answer, int sub);

// "单选题(共" .. "实务操作题(共" + count + "题)".
QString headingText(int type, int count);

NodeColours colours(NodeState state);

// What a node's colour says, for screen readers: "当前", "待查", "已做", "未做"; empty for a heading.
QString stateName(NodeState state);

// Item k (1-based) of a calculation answer or check-later list as the card reads it: the piece
// before the k-th "/", empty when no "/" follows it.
QString slashItem(const QString &text, int k);

} // namespace exam

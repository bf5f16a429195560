#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>

// The session cursor: a session's test_page rows ordered by p_type, p_id, optionally restricted to
// the rows a review shows, with one current row. The exam window and the review modes move it;
// moved() tells its users that the current row changed.
class SessionCursor final : public QObject
{
    Q_OBJECT
public:
    // Which rows of the session the cursor and the answer card show.
    enum class Filter { All, Right, Wrong, Undone };

    explicit SessionCursor(QObject *parent = nullptr) : QObject(parent) {}

    // Selects the rows (throws db::Error) and positions on the first one; emits moved() when there is one.
    void select(const QSqlDatabase &db, const QString &pageId, Filter filter = Filter::All);

    QString pageId() const { return m_pageId; }
    Filter filter() const { return m_filter; }
    int rowCount() const { return int(m_ids.size()); }
    // 1-based number of the current row; 0 when there is none.
    int row() const { return m_row; }
    QString currentId() const { return m_row > 0 ? m_ids.at(m_row - 1) : QString(); }
    const QStringList &ids() const { return m_ids; }
    // 1-based row of a question, 0 when it is not among the rows.
    int rowOf(const QString &pId) const { return int(m_ids.indexOf(pId)) + 1; }

    bool isFirst() const { return m_row == 1; }
    bool isLast() const { return m_row == rowCount(); }

    // Moves to a 1-based row; outside the rows nothing moves. Emits moved() when the row changes.
    bool moveTo(int row);
    bool first() { return moveTo(1); }
    bool last() { return moveTo(rowCount()); }

    // The condition the answer card appends to its queries on test_page (alias b); bound values are not needed.
    static QString cardCondition(Filter filter);

Q_SIGNALS:
    void moved();

private:
    Q_DISABLE_COPY_MOVE(SessionCursor)
    QString m_pageId;
    Filter m_filter = Filter::All;
    QStringList m_ids;
    int m_row = 0;
};

#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QSqlDatabase>
#include <QVariant>

#include <array>

// The history grid's rows: every page_total row, newest session first, in the grid's column order
// with the computed rate column. Rows are read in blocks as the view asks for them, each block by
// a query of its own that is read to the end, so no statement stays open on the shared connection
// (an open SQLite statement would pin its read snapshot and block later writes there). Sessions
// finished after the reload stay out until the next one, as they would in a snapshot.
class HistoryModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Date, Right, Wrong, NotDone, Done, Time, Score, Rate, Kind, ColumnCount };
    static constexpr int kBlockRows = 128;

    explicit HistoryModel(QObject *parent = nullptr);

    // Counts the sessions again and forgets every block read. Throws db::Error.
    void reload(const QSqlDatabase &db);
    // Empties the model (the query closed).
    void close();
    bool isOpen() const { return m_open; }

    // The stored identifier of a row (null when the row has none).
    QVariant pageId(int row) const;
    // How many blocks have been read since the last reload.
    int blocksRead() const { return int(m_blocks.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // Stored fields in the order of the history query: page_id, p_true, p_false, p_nothing,
    // p_doing, p_time, p_score, p_type.
    using Row = std::array<QVariant, 8>;
    const Row *row(int r) const;

    QSqlDatabase m_db;
    bool m_open = false;
    int m_rows = 0;
    QVariant m_newest; // the newest identifier at the reload
    mutable QHash<int, QList<Row>> m_blocks;
};

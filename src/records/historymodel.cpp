#include "records/historymodel.h"

#include "db/sql.h"
#include "records/studyhistory.h"
#include "text/markstext.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Stored field of each grid column (the rate column has none).
constexpr int kField[] = {0, 1, 2, 3, 4, 5, 6, -1, 7};

constexpr const char16_t *kTitles[] = {u"成绩日期", u"正确题目数", u"错误题目数", u"未完成数量", u"已完成数量",
                                       u"耗用时间", u"成绩得分",   u"正确率",     u"成绩所属"};

} // namespace

HistoryModel::HistoryModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void HistoryModel::reload(const QSqlDatabase &db)
{
    beginResetModel();
    m_blocks.clear();
    m_db = db;
    m_open = false;
    m_rows = 0;
    try {
        m_rows = records::sessionCount(db);
        m_newest = db::scalar(db, u"select max(page_id) from page_total"_s);
        m_open = true;
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void HistoryModel::close()
{
    beginResetModel();
    m_blocks.clear();
    m_open = false;
    m_rows = 0;
    endResetModel();
}

const HistoryModel::Row *HistoryModel::row(int r) const
{
    if (!m_open || r < 0 || r >= m_rows)
        return nullptr;
    const int block = r / kBlockRows;
    auto it = m_blocks.find(block);
    if (it == m_blocks.end()) {
        QList<Row> rows;
        try {
            // An offset is walked row by row: blocks in the older half are counted from the oldest end.
            const int first = block * kBlockRows;
            const int last = std::min(first + kBlockRows, m_rows);
            const bool fromOldest = first > m_rows - last;
            QSqlQuery q =
                db::run(m_db,
                        u"select page_id,p_true,p_false,p_nothing,p_doing,p_time,p_score,p_type from page_total"
                        " where page_id<=? or page_id is null order by page_id %1 LIMIT ? OFFSET ?"_s.arg(
                            fromOldest ? u"ASC"_s : u"DESC"_s),
                        {m_newest, last - first, fromOldest ? m_rows - last : first});
            while (q.next()) {
                Row row;
                for (int k = 0; k < int(row.size()); ++k)
                    row[k] = q.value(k);
                rows.append(row);
            }
            if (fromOldest)
                std::reverse(rows.begin(), rows.end());
        } catch (const db::Error &e) {
            // Painting cannot report it; the rows stay empty until the next reload.
            qWarning("history rows %d..: %s", block * kBlockRows, qPrintable(e.message()));
        }
        it = m_blocks.insert(block, rows);
    }
    const int offset = r % kBlockRows;
    return offset < it->size() ? &it->at(offset) : nullptr;
}

QVariant HistoryModel::pageId(int r) const
{
    const Row *fields = row(r);
    return fields ? fields->at(0) : QVariant();
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() != Date)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    const Row *fields = row(index.row());
    if (!fields)
        return {};
    switch (index.column()) {
    case Date:
        return records::pageIdText(fields->at(0).toString());
    case Score:
        return fields->at(6).isNull() ? QString() : text::marksText(fields->at(6).toDouble());
    case Rate:
        return records::rateText(fields->at(1), fields->at(2));
    default:
        return fields->at(kField[index.column()]).toString();
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromUtf16(kTitles[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

#pragma once

#include "sheet/csvfile.h"
#include "sheet/sheetkeys.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>

// A question sheet turned into the rows of a question bank. Every row is checked before anything
// is built; the problems name the sheet row and column. A sheet with any problem builds nothing.
namespace sheet {

// The content-table rows of a sheet, one value per column in table order.
struct SheetRows
{
    QList<QVariantList> courses;   // ma_id
    QList<QVariantList> chapters;  // cap_id
    QList<QVariantList> questions; // ex_page_id
    QList<QVariantList> subs;      // ex_sub
};

class SheetImport final
{
public:
    static constexpr int kProblemLimit = 100;

    explicit SheetImport(KnownBank known = {});
    ~SheetImport();

    // True when the sheet had no problem; rows() then holds the bank.
    bool read(const QByteArray &bytes);

    const SheetRows &rows() const { return m_rows; }
    Encoding encoding() const { return m_encoding; }
    char separator() const { return m_separator; }
    // "第12行 答案: 单选题只能有一个答案 \"AB\"", in row order, at most kProblemLimit of them and
    // then a line that says how many more there were.
    QStringList problems() const;
    int problemCount() const { return int(m_problems.size()); }

private:
    struct Item;
    struct Problem
    {
        int row;
        int column; // -1 for the whole row
        QString text;
    };
    void problem(int row, int column, const QString &text);
    bool readHeader(const QStringList &titles, int row);
    void readRecord(const QStringList &fields, int row);
    void checkOptions(Item &item);
    void checkAnswer(Item &item);
    void registerPlace(const Item &item);
    void linkCases();
    void makeKeys();
    void build();

    KnownBank m_known;
    Encoding m_encoding = Encoding::Utf8;
    char m_separator = ',';
    QList<int> m_columns; // column -> field position, -1 when the sheet lacks it
    int m_fieldCount = 0;
    QList<Problem> m_problems;
    QList<Item> m_items;
    struct Places;
    std::unique_ptr<Places> m_places;
    SheetRows m_rows;
};

} // namespace sheet

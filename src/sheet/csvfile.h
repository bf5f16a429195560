#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated files as spreadsheet programs save them: UTF-8 with or without a byte-order
// mark, GB18030 (which covers GBK, the default of a spreadsheet program on a Chinese system), or
// UTF-16 with a byte-order mark ("Unicode text");
// comma, semicolon or tab between fields; quoted fields with separators, doubled quotes and line
// breaks inside (RFC 4180). Parsing is libcsv's; this file adds the decoding, the choice of
// separator and the row numbers.
namespace sheet {

enum class Encoding { Utf8, Utf8Bom, Gb18030, Utf16 };

struct CsvTable
{
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    QList<QStringList> records;
    // Spreadsheet row of each record (the first is 1): a record with line breaks inside its
    // quoted fields is still one row, and blank lines count as rows.
    QList<int> rows;
};

// Fails with a reason (the row where a quoted field is never closed, or the line of bytes that no
// encoding above reads) instead of guessing.
bool parseCsv(const QByteArray &bytes, CsvTable *table, QString *error);

// The separator of a file: the most frequent of comma, semicolon and tab outside quotes on its
// first line; comma when none occurs.
char sniffSeparator(QByteArrayView firstLine);

// One record written back: fields quoted when they hold the separator, a quote, a line break or
// blanks at either end; lines end with CRLF.
QByteArray csvRecord(const QStringList &fields, char separator = ',');

} // namespace sheet

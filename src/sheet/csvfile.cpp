#include "sheet/csvfile.h"

#include <QStringDecoder>

#include <csv.h>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

constexpr QByteArrayView kBom("\xEF\xBB\xBF");

// Collects libcsv's fields and rows. A CR LF pair ends one row: libcsv, told to report every line
// end, reports the LF as an empty row of its own, which is dropped here.
struct Collector
{
    CsvTable *table = nullptr;
    QStringList fields;
    int row = 1;
    bool afterCr = false;

    // QString::fromUtf8 would drop a cell's leading U+FEFF as if it were a byte-order mark.
    QStringDecoder utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};

    static void field(void *text, size_t length, void *self)
    {
        auto *c = static_cast<Collector *>(self);
        c->fields.append(c->utf8.decode(QByteArrayView(static_cast<const char *>(text), qsizetype(length))));
    }

    static void end(int terminator, void *self)
    {
        auto *c = static_cast<Collector *>(self);
        const bool empty = c->fields.isEmpty();
        if (empty && terminator == '\n' && c->afterCr) {
            c->afterCr = false;
            return;
        }
        c->afterCr = terminator == '\r';
        if (!empty) {
            c->table->records.append(c->fields);
            c->table->rows.append(c->row);
            c->fields.clear();
        }
        ++c->row;
    }
};

int noSpace(unsigned char)
{
    return 0;
}

// The refusal of bytes the encoding cannot read, naming the first line that holds them. No byte of
// a character's encoding in UTF-8 or GB18030 is a line feed, so lines can be tried one by one.
QString undecodable(const QByteArray &bytes, const char *encoding)
{
    int line = 1;
    for (const QByteArray &piece : bytes.split('\n')) {
        QStringDecoder one(encoding, QStringDecoder::Flag::Stateless);
        (void)QString(one.decode(piece));
        if (one.hasError())
            break;
        ++line;
    }
    return u"第%1行: 文件不是 UTF-8 或 GB18030 (GBK) 编码的文本, 请在电子表格程序中另存为 CSV"_s.arg(line);
}

// The text as UTF-8 bytes without a byte-order mark, noting the encoding it came in. A mark tells
// UTF-8 or UTF-16 (a spreadsheet's "Unicode text"); without one, bytes that are not UTF-8 are read
// as GB18030, a superset of GBK. Bytes that are neither are refused, with the first line that
// holds them, rather than read as replacement characters.
bool utf8Of(const QByteArray &bytes, Encoding *encoding, QByteArray *out, QString *error)
{
    if (bytes.startsWith(kBom)) {
        *encoding = Encoding::Utf8Bom;
        *out = bytes.mid(kBom.size());
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (void)QString(utf8.decode(*out));
        if (utf8.hasError()) {
            *error = undecodable(*out, "UTF-8");
            return false;
        }
        return true;
    }
    const bool le = bytes.startsWith("\xFF\xFE");
    if (le || bytes.startsWith("\xFE\xFF")) {
        *encoding = Encoding::Utf16;
        QStringDecoder utf16(le ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless);
        *out = QString(utf16.decode(bytes.mid(2))).toUtf8();
        return true;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(utf8.decode(bytes));
    if (!utf8.hasError()) {
        *encoding = Encoding::Utf8;
        *out = bytes;
        return true;
    }
    *encoding = Encoding::Gb18030;
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    QString text = gb18030.decode(bytes);
    if (gb18030.hasError()) {
        *error = undecodable(bytes, "GB18030");
        return false;
    }
    // GB18030 has a byte-order mark of its own (84 31 95 33).
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    *out = text.toUtf8();
    return true;
}

} // namespace

char sniffSeparator(QByteArrayView firstLine)
{
    std::array<int, 3> counts{};
    constexpr std::array<char, 3> kCandidates = {',', ';', '\t'};
    bool quoted = false;
    for (const char c : firstLine) {
        if (c == '"')
            quoted = !quoted;
        if (quoted)
            continue;
        if (c == '\n' || c == '\r')
            break;
        for (size_t k = 0; k < kCandidates.size(); ++k)
            counts[k] += c == kCandidates[k] ? 1 : 0;
    }
    size_t best = 0;
    for (size_t k = 1; k < kCandidates.size(); ++k) {
        if (counts[k] > counts[best])
            best = k;
    }
    return kCandidates[best];
}

bool parseCsv(const QByteArray &bytes, CsvTable *table, QString *error)
{
    *table = {};
    QByteArray text;
    if (!utf8Of(bytes, &table->encoding, &text, error))
        return false;
    table->separator = sniffSeparator(text);

    csv_parser parser{};
    // Strict: a stray quote is reported instead of silently swallowing the rows after it.
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0) {
        *error = u"无法初始化 CSV 解析器"_s;
        return false;
    }
    const std::unique_ptr<csv_parser, void (*)(csv_parser *)> guard(&parser, csv_free);
    csv_set_delim(&parser, static_cast<unsigned char>(table->separator));
    // Blanks are part of a field: with tab separators libcsv's default would swallow empty fields.
    csv_set_space_func(&parser, noSpace);

    Collector collector;
    collector.table = table;
    const size_t done =
        csv_parse(&parser, text.constData(), size_t(text.size()), &Collector::field, &Collector::end, &collector);
    if (done != size_t(text.size())) {
        *error = csv_error(&parser) == CSV_EPARSE
                     ? u"第%1行: 引号用得不对: 含有引号、分隔符或换行的单元格要整个放在英文双引号中, "
                       u"其中的引号写成两个"_s.arg(collector.row)
                     : u"第%1行: 无法读取: %2"_s.arg(collector.row).arg(QString::fromLatin1(csv_strerror(csv_error(&parser))));
        return false;
    }
    if (csv_fini(&parser, &Collector::field, &Collector::end, &collector) != 0) {
        *error = u"第%1行: 引号没有闭合"_s.arg(collector.row);
        return false;
    }
    return true;
}

QByteArray csvRecord(const QStringList &fields, char separator)
{
    QByteArray out;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k > 0)
            out += separator;
        const QString &f = fields.at(k);
        const bool quote = f.contains(QLatin1Char(separator)) || f.contains(u'"') || f.contains(u'\n') ||
                           f.contains(u'\r') || f.startsWith(u' ') || f.endsWith(u' ');
        if (!quote) {
            out += f.toUtf8();
            continue;
        }
        QString escaped = f;
        escaped.replace(u"\""_s, u"\"\""_s);
        out += '"' + escaped.toUtf8() + '"';
    }
    out += "\r\n";
    return out;
}

} // namespace sheet

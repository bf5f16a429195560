// Reading comma-separated files as spreadsheet programs write them: the encodings, the separators,
// RFC 4180 quoting, and the spreadsheet row of each record.
#include "sheet/csvfile.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

using Records = QList<QStringList>;

Q_DECLARE_METATYPE(sheet::Encoding)

class SheetCsv : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<sheet::Encoding>("encoding");
        QTest::addColumn<char>("separator");
        QTest::addColumn<Records>("records");
        QTest::addColumn<QList<int>>("rows");

        const QString text = u"课程,题干\n会计基础,借贷记账法\n"_s;
        const Records plain = {{u"课程"_s, u"题干"_s}, {u"会计基础"_s, u"借贷记账法"_s}};
        QStringEncoder gb("GB18030");
        QTest::newRow("utf-8") << text.toUtf8() << sheet::Encoding::Utf8 << ',' << plain << QList<int>{1, 2};
        QTest::newRow("utf-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF" + text.toUtf8())
                                                    << sheet::Encoding::Utf8Bom << ',' << plain << QList<int>{1, 2};
        QTest::newRow("gb18030") << QByteArray(gb.encode(text)) << sheet::Encoding::Gb18030 << ',' << plain
                                 << QList<int>{1, 2};
        // 𠀀 needs the four-byte form of GB18030, which GBK lacks.
        QStringEncoder gb4("GB18030");
        QTest::newRow("gb18030 four-byte character")
            << QByteArray(gb4.encode(u"题干\n𠀀\n"_s)) << sheet::Encoding::Gb18030 << ','
            << Records{{u"题干"_s}, {u"𠀀"_s}} << QList<int>{1, 2};
        QTest::newRow("gb18030 with its byte-order mark")
            << QByteArray("\x84\x31\x95\x33" + QByteArray(gb.encode(text))) << sheet::Encoding::Gb18030 << ','
            << plain << QList<int>{1, 2};
        QStringEncoder le("UTF-16LE");
        QStringEncoder be("UTF-16BE");
        QTest::newRow("utf-16 little-endian, tabs (unicode text)")
            << QByteArray("\xFF\xFE" + QByteArray(le.encode(u"课程\t题干\r\n会计基础\t借贷记账法\r\n"_s)))
            << sheet::Encoding::Utf16 << '\t' << plain << QList<int>{1, 2};
        QTest::newRow("utf-16 big-endian") << QByteArray("\xFE\xFF" + QByteArray(be.encode(text)))
                                           << sheet::Encoding::Utf16 << ',' << plain << QList<int>{1, 2};
        QTest::newRow("semicolon") << u"课程;题干\r\n会计基础;借贷, 记账法\r\n"_s.toUtf8() << sheet::Encoding::Utf8
                                   << ';' << Records{{u"课程"_s, u"题干"_s}, {u"会计基础"_s, u"借贷, 记账法"_s}}
                                   << QList<int>{1, 2};
        QTest::newRow("tab with empty cells")
            << u"A\tB\tC\n\t\tx\n"_s.toUtf8() << sheet::Encoding::Utf8 << '\t'
            << Records{{u"A"_s, u"B"_s, u"C"_s}, {u""_s, u""_s, u"x"_s}} << QList<int>{1, 2};
        QTest::newRow("quoted separator, quotes and line breaks")
            << u"题干,答案\r\n\"甲,乙\"\"丙\"\"\",A\r\n\"第一行\r\n第二行\n第三行\",B\r\nx,C\r\n"_s.toUtf8()
            << sheet::Encoding::Utf8 << ','
            << Records{{u"题干"_s, u"答案"_s},
                       {u"甲,乙\"丙\""_s, u"A"_s},
                       {u"第一行\r\n第二行\n第三行"_s, u"B"_s},
                       {u"x"_s, u"C"_s}}
            << QList<int>{1, 2, 3, 4};
        QTest::newRow("blank lines count as rows")
            << "a,b\n\n1,2\r\n\r\n3,4"_ba << sheet::Encoding::Utf8 << ','
            << Records{{u"a"_s, u"b"_s}, {u"1"_s, u"2"_s}, {u"3"_s, u"4"_s}} << QList<int>{1, 3, 5};
        QTest::newRow("blanks around cells are kept")
            << "a,b\n x , y\n"_ba << sheet::Encoding::Utf8 << ',' << Records{{u"a"_s, u"b"_s}, {u" x "_s, u" y"_s}}
            << QList<int>{1, 2};
        QTest::newRow("a cell that begins with U+FEFF keeps it")
            << "\xEF\xBB\xBF" "a,b\r\n\xEF\xBB\xBF" "x,\xEF\xBB\xBF\r\n"_ba << sheet::Encoding::Utf8Bom << ','
            << Records{{u"a"_s, u"b"_s}, {u"\uFEFFx"_s, u"\uFEFF"_s}} << QList<int>{1, 2};
        QTest::newRow("separator inside quotes on the title line is not counted")
            << "\"a;b;c\",d\n1,2\n"_ba << sheet::Encoding::Utf8 << ','
            << Records{{u"a;b;c"_s, u"d"_s}, {u"1"_s, u"2"_s}} << QList<int>{1, 2};
    }

    void parses()
    {
        QFETCH(QByteArray, bytes);
        sheet::CsvTable table;
        QString error;
        QVERIFY2(sheet::parseCsv(bytes, &table, &error), qPrintable(error));
        QTEST(table.encoding, "encoding");
        QTEST(table.separator, "separator");
        QTEST(table.records, "records");
        QTEST(table.rows, "rows");
    }

    // A quote out of place is refused where it stands instead of taking the rows after it into one
    // cell; bytes no encoding reads are refused instead of becoming replacement characters.
    void unreadableIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("never closed") << "a,b\n1,2\n\"open,3\n4,5\n"_ba << u"第3行: 引号没有闭合"_s;
        const QString stray = u"第%1行: 引号用得不对: 含有引号、分隔符或换行的单元格要整个放在英文双引号中, 其中的引号写成两个"_s;
        QTest::newRow("text after the closing quote") << "a,b\r\n\"x\"y,1\r\n2,3\r\n"_ba << stray.arg(2);
        QTest::newRow("quote inside an unquoted cell") << "a,b\n\"1\n2\",x\n3,他说\"好\"\n"_ba << stray.arg(3);
        // Neither UTF-8 nor GB18030: a lead byte followed by a blank, as in a file of another encoding.
        const QString undecodable = u"第%1行: 文件不是 UTF-8 或 GB18030 (GBK) 编码的文本, 请在电子表格程序中另存为 CSV"_s;
        QTest::newRow("bytes of no known encoding") << "a,b\n1,2\n\x81\x20,3\n"_ba << undecodable.arg(3);
        QTest::newRow("utf-8 mark, then bytes that are not utf-8") << "\xEF\xBB\xBF" "a,b\r\n\xC3\x28,1\r\n"_ba
                                                                << undecodable.arg(2);
        QTest::newRow("gbk cut in the middle of a character") << "a,b\n\xBB\xE1\xBC"_ba << undecodable.arg(2);
    }

    void unreadableIsRefused()
    {
        QFETCH(QByteArray, bytes);
        sheet::CsvTable table;
        QString error;
        QVERIFY(!sheet::parseCsv(bytes, &table, &error));
        QTEST(error, "error");
    }

    void writtenRecordsReadBack()
    {
        const QStringList fields = {u"普通"_s, u"含,逗号"_s, u"含\"引号\""_s, u"两\r\n行"_s, u" 前后空格 "_s, u""_s};
        QCOMPARE(sheet::csvRecord(fields),
                 u"普通,\"含,逗号\",\"含\"\"引号\"\"\",\"两\r\n行\",\" 前后空格 \",\r\n"_s.toUtf8());
        sheet::CsvTable table;
        QString error;
        QVERIFY(sheet::parseCsv(sheet::csvRecord(fields) + sheet::csvRecord(fields), &table, &error));
        QCOMPARE(table.records, (Records{fields, fields}));
        QCOMPARE(table.rows, (QList<int>{1, 2}));
    }
};

QTEST_GUILESS_MAIN(SheetCsv)
#include "sheet_csv.moc"

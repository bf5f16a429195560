#include "text/gbk.h"
#include "text/listtext.h"
#include "text/markstext.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class TextHelpers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty middle item") << u"A//C"_s << 3 << 2 << QString();
        QTest::newRow("missing items at the end") << u"A/B"_s << 6 << 5 << QString();
        QTest::newRow("more items than n") << u"A/B/C/D"_s << 2 << 2 << u"B"_s;
        QTest::newRow("first of several") << u"AB/C/"_s << 6 << 1 << u"AB"_s;
        QTest::newRow("no delimiter") << u"ABC"_s << 6 << 1 << u"ABC"_s;
        QTest::newRow("trailing delimiter adds nothing") << u"A/B/"_s << 3 << 3 << QString();
        QTest::newRow("chinese items") << u"借:银行存款=100;贷:实收资本=100/x"_s << 6 << 2 << u"x"_s;
        QTest::newRow("other delimiter") << u"a;b;c"_s << 3 << 3 << u"c"_s;
    }
    void listItem()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(int, index);
        QFETCH(QString, expected);
        const QChar delimiter = text.contains(u';') && !text.contains(u'/') ? u';' : u'/';
        QCOMPARE(text::listItem(text, n, delimiter, index), expected);
    }

    void listSetItem_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("replace middle") << u"D"_s << u"A/B/C"_s << 3 << 2 << u"A/D/C/"_s;
        QTest::newRow("into empty, first") << u"X"_s << QString() << 6 << 1 << u"X//////"_s;
        QTest::newRow("into empty, third") << u"B"_s << QString() << 6 << 3 << u"//B////"_s;
        QTest::newRow("more items than n are dropped") << u"Z"_s << u"A/B/C/D"_s << 2 << 1 << u"Z/B/"_s;
        QTest::newRow("six-item list kept") << u"AB"_s << u"A//C///"_s << 6 << 2 << u"A/AB/C////"_s;
    }
    void listSetItem()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(text::listSetItem(value, text, n, u'/', index), expected);
        QCOMPARE(text::countDelimiters(u'/', text::listSetItem(value, text, n, u'/', index)), n);
    }

    void countDelimiters()
    {
        QCOMPARE(text::countDelimiters(u';', u"a;b;c"_s), 2);
        QCOMPARE(text::countDelimiters(u';', u"abc"_s), 0);
        QCOMPARE(text::countDelimiters(u';', u";;"_s), 2);
        QCOMPARE(text::countDelimiters(u';', QString()), 0);
    }

    void valueInPrefix()
    {
        const QList<int> drawn{5, 9, 2};
        QVERIFY(!text::valueInPrefix(drawn, 0, 5));
        QVERIFY(!text::valueInPrefix(drawn, -1, 5));
        QVERIFY(text::valueInPrefix(drawn, 1, 5));
        QVERIFY(!text::valueInPrefix(drawn, 2, 2));
        QVERIFY(text::valueInPrefix(drawn, 3, 2));
        QVERIFY(!text::valueInPrefix(drawn, 10, 7)); // n past the end is safe
    }

    void hexXor_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii url") << u"http://example.test/news.htm"_s;
        QTest::newRow("chinese") << u"题库密码"_s;
        QTest::newRow("mixed") << u"no 测试 123"_s;
    }
    void hexXor()
    {
        QFETCH(QString, plain);
        const QString hex = text::hexXorEncode(plain);
        QCOMPARE(hex.size(), text::toGbk(plain).size() * 2);
        QCOMPARE(hex, hex.toUpper());
        QString back;
        QVERIFY(text::hexXorDecode(hex, &back));
        QCOMPARE(back, plain);
        QVERIFY(text::hexXorDecode(hex.toLower(), &back));
        QCOMPARE(back, plain);
    }

    void hexXorEdges()
    {
        const QString abc = text::hexXorEncode(u"abc"_s);
        QCOMPARE(abc.size(), 6);
        QCOMPARE(abc, u"3B3839"_s); // 0x61^0x5A, 0x62^0x5A, 0x63^0x5A
        QString out;
        QVERIFY(text::hexXorDecode(abc.left(5), &out)); // the odd digit is ignored
        QCOMPARE(out, u"ab"_s);
        out = u"unchanged"_s;
        QVERIFY(!text::hexXorDecode(u"3G"_s, &out));
        QCOMPARE(out, u"unchanged"_s);
        QVERIFY(!text::hexXorDecode(u"+1"_s, &out));
        // "no" from a Windows main.ini, encoded as GBK bytes
        QVERIFY(text::hexXorDecode(u"3435"_s, &out));
        QCOMPARE(out, u"no"_s);
    }

    void gbkWidths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("left");
        QTest::newRow("ascii") << u"abcdef"_s << 4 << 6 << u"abcd"_s;
        QTest::newRow("chinese even cut") << u"第一章总论"_s << 4 << 10 << u"第一"_s;
        QTest::newRow("never half a character") << u"a第一章"_s << 4 << 7 << u"a第"_s;
        QTest::newRow("shorter than the cut") << u"总论"_s << 16 << 4 << u"总论"_s;
        QTest::newRow("zero") << u"总论"_s << 0 << 4 << QString();
    }
    void gbkWidths()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(int, width);
        QFETCH(QString, left);
        QCOMPARE(text::gbkWidth(text), width);
        QCOMPARE(text::gbkLeft(text, maxBytes), left);
        QCOMPARE(text::gbkWidth(text), text::toGbk(text).size());
    }

    // A lone surrogate is a character of its own: it neither joins the next character nor vanishes.
    void gbkWidthsOfLoneSurrogates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("left");
        const QChar high(0xD83D), low(0xDE00);
        QTest::newRow("pair") << QString(u'a') + high + low + u'b' << 3 << 4 << QString(u'a') + high + low;
        QTest::newRow("high before a character") << QString(high) + u"中文"_s << 2 << 6 << QString(high);
        QTest::newRow("high at the end") << u"ab"_s + high << 4 << 4 << u"ab"_s + high;
        QTest::newRow("low alone") << QString(low) + u"ab"_s << 3 << 4 << QString(low) + u'a';
    }
    void gbkWidthsOfLoneSurrogates()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(int, width);
        QFETCH(QString, left);
        QCOMPARE(text::gbkWidth(text), width);
        QCOMPARE(text::gbkLeft(text, maxBytes), left);
    }

    void decodeFallsBackToGbk()
    {
        const QString s = u"公告内容"_s;
        QCOMPARE(text::decodeUtf8OrGbk(s.toUtf8()), s);
        QCOMPARE(text::decodeUtf8OrGbk(text::toGbk(s)), s);
    }

    // Marks arrive as floating-point sums; the text is the rounded decimal, whatever binary tail the
    // sum has (raw: the sum's shortest round-trip text).
    void marksText_data()
    {
        QTest::addColumn<QList<double>>("parts");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("20 marks and two shares of 3.33")
            << QList<double>{20, 3.33, 3.33} << u"26.659999999999997"_s << u"26.66"_s;
        QTest::newRow("0.1 + 0.2") << QList<double>{0.1, 0.2} << u"0.30000000000000004"_s << u"0.3"_s;
        QTest::newRow("three times 1.1") << QList<double>{1.1, 1.1, 1.1} << u"3.3000000000000003"_s << u"3.3"_s;
        QTest::newRow("whole number without point") << QList<double>{12, 8} << u"20"_s << u"20"_s;
        QTest::newRow("one decimal") << QList<double>{12.5} << u"12.5"_s << u"12.5"_s;
        QTest::newRow("two decimals") << QList<double>{1234.5, 0.06} << u"1234.56"_s << u"1234.56"_s;
        QTest::newRow("half a cent rounds up") << QList<double>{0.125} << u"0.125"_s << u"0.13"_s;
        QTest::newRow("no minus zero") << QList<double>{-0.001} << u"-0.001"_s << u"0"_s;
        QTest::newRow("nothing") << QList<double>{} << u"0"_s << u"0"_s;
    }
    void marksText()
    {
        QFETCH(QList<double>, parts);
        QFETCH(QString, raw);
        QFETCH(QString, expected);
        double sum = 0;
        for (const double part : parts)
            sum += part;
        QCOMPARE(QString::number(sum, 'g', QLocale::FloatingPointShortest), raw);
        QCOMPARE(text::marksText(sum), expected);
    }
};

QTEST_GUILESS_MAIN(TextHelpers)
#include "text_helpers.moc"

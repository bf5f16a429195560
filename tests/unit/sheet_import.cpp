// Question sheets turned into bank rows: every kind of problem with its row and column, the limit
// on the list, the rows a good sheet becomes, and the keys made for rows that bring none.
#include "sheet/sheetimport.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kHeader = u"课程,章节,类别,题型,题干,A,B,C,D,答案,解析,分值,题号,所属案例"_s;

// A sheet of the usual columns (or another title line) followed by rows, one a line.
QByteArray sheetOf(const QStringList &rows, const QString &header = kHeader)
{
    return (QStringList{header} + rows).join(u"\r\n"_s).toUtf8() + "\r\n";
}

QString q(const QString &type, const QString &options, const QString &answer, const QString &course = u"会计基础"_s)
{
    return u"%1,第一章,章节练习,%2,题干,%3,,,%4,,,,"_s.arg(course, type, options, answer);
}

} // namespace

class SheetImportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void problems_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::addColumn<QStringList>("expected");

        const auto row = [](const char *name, const QByteArray &sheet, const QStringList &expected) {
            QTest::newRow(name) << sheet << expected;
        };
        // Titles.
        row("required column missing", sheetOf({}, u"课程,章节,题型,题干"_s), {u"第1行: 缺少列 \"答案\""_s});
        row("unknown title", sheetOf({}, kHeader + u",备注"_s), {u"第1行: 未知的列标题 \"备注\""_s});
        row("title twice", sheetOf({}, kHeader + u",题干"_s), {u"第1行: 列标题重复 \"题干\""_s});
        row("empty file", QByteArray(), {u"第1行: 表格是空的, 第一行应是列标题"_s});
        row("titles only", sheetOf({}), {u"第1行: 表格中没有题目"_s});
        row("cell beyond the titles", sheetOf({u"会计基础,第一章,,单选题,题干,甲,乙,,,A,,,,,多余"_s}),
            {u"第2行: 第15列没有列标题, 其中的内容无法归入任何一列 \"多余\""_s});
        row("quote never closed", sheetOf({q(u"单选题"_s, u"甲,乙"_s, u"A"_s), u"会计基础,\"第一章"_s}),
            {u"第3行: 引号没有闭合"_s});

        // Places and kinds.
        row("course empty", sheetOf({u",第一章,,单选题,题干,甲,乙,,,A,,,,"_s}), {u"第2行 课程: 不能为空"_s});
        row("stem empty", sheetOf({u"会计基础,第一章,,单选题,,甲,乙,,,A,,,,"_s}), {u"第2行 题干: 不能为空"_s});
        row("chapter name too long", sheetOf({u"会计基础,%1,,单选题,题干,甲,乙,,,A,,,,"_s.arg(QString(51, u'章'))}),
            {u"第2行 章节: 名称最长50个字"_s});
        row("unknown kind", sheetOf({u"会计基础,第一章,考试,单选题,题干,甲,乙,,,A,,,,"_s}),
            {u"第2行 类别: 应为\"章节练习\"或\"模拟试卷\" \"考试\""_s});
        row("one chapter, two kinds",
            sheetOf({q(u"单选题"_s, u"甲,乙"_s, u"A"_s), u"会计基础,第一章,模拟试卷,单选题,题干二,甲,乙,,,A,,,,"_s}),
            {u"第3行 类别: 与第2行同一章节的类别不同 \"模拟试卷\""_s});
        row("one course, two keys",
            sheetOf({u"会计基础,第一章,单选题,题干,甲,乙,A,K1"_s, u"会计基础,第二章,单选题,题干,甲,乙,A,K2"_s},
                    u"课程,章节,题型,题干,A,B,答案,课程编号"_s),
            {u"第3行 课程编号: 与第2行同一课程的\"K1\"不同 \"K2\""_s});
        row("one key, two courses",
            sheetOf({u"会计基础,第一章,单选题,题干,甲,乙,A,K1"_s, u"财经法规,第二章,单选题,题干,甲,乙,A,K1"_s},
                    u"课程,章节,题型,题干,A,B,答案,课程编号"_s),
            {u"第3行 课程编号: 编号\"K1\"已用于课程\"会计基础\""_s});

        // Types, options and answers.
        row("unknown type", sheetOf({q(u"填空题"_s, u"甲,乙"_s, u"A"_s)}),
            {u"第2行 题型: 不是已知的题型 \"填空题\""_s});
        row("single choice with two answers", sheetOf({q(u"单选题"_s, u"甲,乙"_s, u"AB"_s)}),
            {u"第2行 答案: 单选题只能有一个答案 \"AB\""_s});
        row("multiple choice with one answer", sheetOf({q(u"多选题"_s, u"甲,乙"_s, u"b"_s)}),
            {u"第2行 答案: 多选题至少要有两个答案 \"b\""_s});
        row("answer names an option not offered", sheetOf({q(u"2"_s, u"甲,乙"_s, u"AC"_s)}),
            {u"第2行 答案: \"C\" 不是本题的选项 \"AC\""_s});
        row("choice answer empty", sheetOf({q(u"单选题"_s, u"甲,乙"_s, u""_s)}), {u"第2行 答案: 不能为空"_s});
        row("options with a gap", sheetOf({u"会计基础,第一章,,单选题,题干,甲,,丙,,A,,,,"_s}),
            {u"第2行 C: 选项须从A起连续填写, 选项B是空的"_s});
        row("one option only", sheetOf({q(u"单选题"_s, u"甲,"_s, u"A"_s)}), {u"第2行 B: 至少要有两个选项"_s});
        row("true/false answer", sheetOf({q(u"判断题"_s, u","_s, u"是"_s)}),
            {u"第2行 答案: 判断题的答案应为\"对\"或\"错\" \"是\""_s});
        row("true/false with options", sheetOf({q(u"判断题"_s, u"对,错"_s, u"对"_s)}), {u"第2行 A: 判断题不用选项"_s});
        row("practical question without answer", sheetOf({q(u"实务操作题"_s, u","_s, u""_s, u"初级会计电算化"_s)}),
            {u"第2行 答案: 实务操作题须写参考答案"_s});
        row("marks not a number", sheetOf({u"会计基础,第一章,,单选题,题干,甲,乙,,,A,,-1,,"_s}),
            {u"第2行 分值: 不是有效的分值 \"-1\""_s});
        row("reference answer on a choice question",
            sheetOf({u"会计基础,第一章,单选题,题干,甲,乙,A,见解析"_s}, u"课程,章节,题型,题干,A,B,答案,参考答案"_s),
            {u"第2行 参考答案: 只用于计算分析题和案例分析题"_s});
        row("type the course does not use", sheetOf({q(u"实务操作题"_s, u","_s, u"步骤"_s)}),
            {u"第2行 题型: 课程\"会计基础\"不使用实务操作题"_s});
        row("bad question key", sheetOf({u"会计基础,第一章,,单选题,题干,甲,乙,,,A,,,题1,"_s}),
            {u"第2行 题号: 只能由字母、数字和下划线组成, 最长14个字符 \"题1\""_s});
        row("question key twice",
            sheetOf({u"会计基础,第一章,,单选题,题干,甲,乙,,,A,,,Q1,"_s,
                     u"会计基础,第一章,,单选题,题干二,甲,乙,,,A,,,Q1,"_s}),
            {u"第3行 题号: 与第2行的题号重复 \"Q1\""_s});
        row("problems of several rows, all at once",
            sheetOf({q(u"单选题"_s, u"甲,乙"_s, u"AB"_s), q(u"单选题"_s, u"甲,乙"_s, u"A"_s),
                     q(u"判断题"_s, u","_s, u"X"_s)}),
            {u"第2行 答案: 单选题只能有一个答案 \"AB\""_s, u"第4行 答案: 判断题的答案应为\"对\"或\"错\" \"X\""_s});

        // Calculation questions.
        const auto calc = [](const QString &answer) {
            return sheetOf({u"会计基础,第一章,,计算分析题,题干,,,,,\"%1\",,,,"_s.arg(answer)});
        };
        row("entries do not balance", calc(u"借:原材料=100;贷:银行存款=90"_s),
            {u"第2行 答案: 第1小题借贷不平衡: 借方合计 100, 贷方合计 90"_s});
        row("account not in the chart", calc(u"借:原材料=100;贷:银行存款=100/借:原材料=5;贷:银行=5"_s),
            {u"第2行 答案: 第2小题的科目 \"银行\" 不在会计科目表中"_s});
        row("entry line without its signs", calc(u"借原材料100"_s),
            {u"第2行 答案: 第1小题的分录 \"借原材料100\" 应写作\"借:科目=金额\"或\"贷:科目=金额\""_s});
        row("entry amount not positive", calc(u"借:原材料=-5;贷:银行存款=-5"_s),
            {u"第2行 答案: 第1小题的金额 \"-5\" 不是正数"_s, u"第2行 答案: 第1小题的金额 \"-5\" 不是正数"_s});
        row("amounts and entries mixed", calc(u"100/借:原材料=1;贷:银行存款=1"_s),
            {u"第2行 答案: 各小题须同为金额或同为分录"_s});
        row("amount not a number", calc(u"12元"_s), {u"第2行 答案: 第1小题的金额 \"12元\" 不是数字"_s});
        row("empty sub-item", calc(u"100//200"_s), {u"第2行 答案: 第2小题为空"_s});
        row("seven sub-items", calc(u"1/2/3/4/5/6/7"_s), {u"第2行 答案: 计算分析题最多6个小题, 这里有7个"_s});
        row("seven lines in a sub-item",
            calc(u"借:原材料=1;借:原材料=1;借:原材料=1;借:原材料=1;借:原材料=1;借:原材料=1;贷:银行存款=6"_s),
            {u"第2行 答案: 第1小题最多6行分录"_s});
        row("calculation answer empty", calc(u""_s), {u"第2行 答案: 计算分析题须填写各小题的答案"_s});
        row("options on a calculation question", sheetOf({u"会计基础,第一章,,计算分析题,题干,甲,,,,100,,,,"_s}),
            {u"第2行 A: 计算分析题不用选项"_s});

        // Case questions and their sub-questions.
        const QString caseRow = u"财经法规,第一章,,案例分析题,案例,,,,,,,,AL1,"_s;
        const QString sub = u",,,单选题,子题,甲,乙,,,A,,,,AL1"_s;
        row("case without sub-questions", sheetOf({caseRow}),
            {u"第2行 题型: 案例分析题没有子题: 子题行的\"所属案例\"填这道题的题号"_s});
        row("case with an answer of its own", sheetOf({u"财经法规,第一章,,案例分析题,案例,,,,,A,,,AL1,"_s, sub}),
            {u"第2行 答案: 案例分析题的答案写在它的子题行"_s});
        row("sub-question of a missing case", sheetOf({caseRow, sub, u",,,单选题,子题,甲,乙,,,A,,,,AL9"_s}),
            {u"第4行 所属案例: 找不到这个题号的题目 \"AL9\""_s});
        row("sub-question of a question that is no case",
            sheetOf({u"会计基础,第一章,,单选题,题干,甲,乙,,,A,,,Q1,"_s, u",,,单选题,子题,甲,乙,,,A,,,,Q1"_s}),
            {u"第3行 所属案例: 第2行的题目不是案例分析题 \"Q1\""_s});
        row("seven sub-questions", sheetOf({caseRow, sub, sub, sub, sub, sub, sub, sub}),
            {u"第9行 所属案例: 一道案例分析题最多6个子题"_s});
        row("sub-question of a calculation type", sheetOf({caseRow, u",,,计算分析题,子题,,,,,100,,,,AL1"_s}),
            {u"第3行 题型: 案例的子题只能是单选题、多选题或判断题 \"计算分析题\""_s});
        row("sub-question in another course", sheetOf({caseRow, u"会计基础,,,单选题,子题,甲,乙,,,A,,,,AL1"_s}),
            {u"第3行 课程: 与所属案例(第2行)不同 \"会计基础\""_s});
        row("sub-question with a key of its own", sheetOf({caseRow, u",,,单选题,子题,甲,乙,,,A,,,S1,AL1"_s}),
            {u"第3行 题号: 子题行不填这一列"_s});
        row("case in a course without cases", sheetOf({u"会计基础,第一章,,案例分析题,案例,,,,,,,,AL1,"_s, sub}),
            {u"第2行 题型: 课程\"会计基础\"不使用案例分析题"_s});
    }

    void problems()
    {
        QFETCH(QByteArray, sheet);
        sheet::SheetImport import;
        QVERIFY(!import.read(sheet));
        QTEST(import.problems(), "expected");
        QVERIFY(import.rows().questions.isEmpty());
    }

    void problemListIsCut()
    {
        QStringList rows;
        for (int k = 0; k < 150; ++k)
            rows << q(u"单选题"_s, u"甲,乙"_s, u"AB"_s);
        sheet::SheetImport import;
        QVERIFY(!import.read(sheetOf(rows)));
        QCOMPARE(import.problemCount(), 150);
        const QStringList shown = import.problems();
        QCOMPARE(shown.size(), 101);
        QCOMPARE(shown.first(), u"第2行 答案: 单选题只能有一个答案 \"AB\""_s);
        QCOMPARE(shown.at(99), u"第101行 答案: 单选题只能有一个答案 \"AB\""_s);
        QCOMPARE(shown.last(), u"……共有150处问题, 只列出了前100处."_s);
    }

    // The sample sheet of data/sheet, which the README describes, becomes these rows.
    void sampleSheetRows()
    {
        QFile file(QStringLiteral(QM_SOURCE_DIR "/data/sheet/sample.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        sheet::KnownBank known;
        known.courses.insert(u"会计基础"_s, {u"KJJC"_s, u"教研组"_s, u"kjjc_all.htm"_s});
        known.chapters.insert(sheet::KnownBank::chapterLookup(u"KJJC"_s, u"自编模拟试卷"_s), u"KJJC_P9"_s);
        sheet::SheetImport import(known);
        QVERIFY2(import.read(file.readAll()), qPrintable(import.problems().join(u'\n')));
        QCOMPARE(import.encoding(), sheet::Encoding::Utf8Bom);
        const sheet::SheetRows &rows = import.rows();
        QCOMPARE(rows.courses.size(), 3);
        // A course the bank knows keeps its key, speaker and handout package.
        QCOMPARE(rows.courses.at(0), (QVariantList{u"KJJC"_s, u"会计基础"_s, u"教研组"_s, u"kjjc_all.htm"_s}));
        QCOMPARE(rows.courses.at(1).mid(1), (QVariantList{u"财经法规与会计职业道德"_s, u""_s, u"0"_s}));
        QCOMPARE(rows.chapters.size(), 4);
        QCOMPARE(rows.chapters.at(0), (QVariantList{u"ZVXFCFTDB3DGJ4"_s, u"第九章 自编练习"_s, u"KJJC"_s, u"1"_s}));
        QCOMPARE(rows.chapters.at(1), (QVariantList{u"KJJC_P9"_s, u"自编模拟试卷"_s, u"KJJC"_s, u"2"_s}));
        QCOMPARE(rows.questions.size(), 8);
        QCOMPARE(rows.subs.size(), 2);

        const QVariantList single = rows.questions.at(0);
        QCOMPARE(single.mid(2), (QVariantList{u"1"_s, u"下列各项中，属于流动资产的是（ ）。"_s, u"应收账款"_s,
                                              u"固定资产"_s, u"无形资产"_s, u"长期股权投资"_s, u"-"_s, u"-"_s, u"A"_s,
                                              u"应收账款预计在一年内收回，属于流动资产。"_s, 0, 0, 1.0}));
        QCOMPARE(
            rows.questions.at(1).mid(10),
            (QVariantList{u"ABD"_s, u"资产类账户期末余额一般在借方；应付账款是负债类账户，余额在贷方。"_s, 0, 0, 2.0}));
        QCOMPARE(rows.questions.at(2).mid(4, 7),
                 (QVariantList{u"对"_s, u"错"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"A"_s}));
        // Amounts mode: one amount per sub-item; p_mask set.
        QCOMPARE(rows.questions.at(3).mid(4, 7),
                 (QVariantList{u"800"_s, u"2800"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"(1)800；(2)2800"_s}));
        QCOMPARE(rows.questions.at(3).at(12), QVariant(1));
        // Entries mode: a stem with a line break inside its quotes, two sub-items of entry lines.
        QVERIFY(rows.questions.at(4).at(3).toString().contains(u"5000 元，\n其中"_s));
        QCOMPARE(
            rows.questions.at(4).mid(4, 7),
            (QVariantList{
                u"借:原材料=20000;贷:银行存款=20000"_s, u"借:应付账款=3000;借:应付账款=2000;贷:银行存款=5000"_s, u"-"_s,
                u"-"_s, u"-"_s, u"-"_s,
                u"(1)借：原材料 20000，贷：银行存款 20000；(2)借：应付账款 3000，借：应付账款 2000，贷：银行存款 5000"_s}));
        QCOMPARE(rows.questions.at(4).at(12), QVariant(0));
        // The case question: its key as written, its marks the sum of its sub-questions'.
        const QVariantList caseRow = rows.questions.at(6);
        QCOMPARE(caseRow.at(1), QVariant(u"ZB_AL01"_s));
        QCOMPARE(caseRow.at(10), QVariant(u"1.B；2.ABC"_s));
        QCOMPARE(caseRow.at(14), QVariant(10.0));
        QCOMPARE(rows.subs.at(0),
                 (QVariantList{u"ZB_AL01"_s, u"1"_s, u"出纳人员兼管会计档案保管工作，是否符合规定（ ）？"_s, u"符合"_s,
                               u"不符合"_s, u"经单位负责人批准即符合"_s, u"-"_s, u"-"_s, u"-"_s, u"B"_s,
                               u"出纳人员不得兼任稽核、会计档案保管和收入、支出、费用、债权债务账目的登记工作。"_s, 5.0,
                               u"1"_s}));
        QCOMPARE(rows.subs.at(1).mid(0, 2), (QVariantList{u"ZB_AL01"_s, u"2"_s}));
        QCOMPARE(rows.subs.at(1).at(12), QVariant(u"2"_s));
    }

    // Keys made from names: the same sheet gives the same keys, and questions of the same stem in
    // one chapter are told apart by their order.
    void keysFromNames()
    {
        const QByteArray sheet = sheetOf({q(u"单选题"_s, u"甲,乙"_s, u"A"_s), q(u"单选题"_s, u"丙,丁"_s, u"B"_s)});
        sheet::SheetImport first;
        QVERIFY(first.read(sheet));
        QCOMPARE(first.rows().courses.at(0).at(0), QVariant(u"K3RXWOQGEUVWP7"_s));
        QCOMPARE(first.rows().chapters.at(0).mid(0, 3),
                 (QVariantList{u"ZAMQ2AH5763BRS"_s, u"第一章"_s, u"K3RXWOQGEUVWP7"_s}));
        QCOMPARE(first.rows().questions.at(0).mid(0, 2), (QVariantList{u"ZAMQ2AH5763BRS"_s, u"TVVX2UBG2OTMHN"_s}));
        QCOMPARE(first.rows().questions.at(1).at(1), QVariant(u"T24PB6GVBOW6ZD"_s));
        sheet::SheetImport again;
        QVERIFY(again.read(sheet));
        QCOMPARE(again.rows().questions, first.rows().questions);

        // A chapter of a course the bank knows is looked up under that course's key.
        sheet::KnownBank known;
        known.courses.insert(u"会计基础"_s, {u"KJJC"_s, u""_s, u"0"_s});
        sheet::SheetImport withBank(known);
        QVERIFY(withBank.read(sheet));
        QCOMPARE(withBank.rows().chapters.at(0).mid(0, 3), (QVariantList{u"Z52BRGPTIHQESI"_s, u"第一章"_s, u"KJJC"_s}));
    }

    // What a learner's input method types and what a spreadsheet leaves around cells is accepted.
    void lenientSpellings()
    {
        const QByteArray sheet =
            sheetOf({u"会计基础 , 第一章 ,2, 2 ,题干,甲,乙,丙,,\"c, a\",,,,"_s,
                     u"会计基础,第一章,模拟试卷,计算分析题,题干,,,,,借：原材料＝100；贷：银行存款 = 100,,,,"_s},
                    kHeader);
        sheet::SheetImport import;
        QVERIFY2(import.read(sheet), qPrintable(import.problems().join(u'\n')));
        QCOMPARE(import.rows().chapters.at(0).at(3), QVariant(u"2"_s));
        QCOMPARE(import.rows().questions.at(0).at(10), QVariant(u"AC"_s));
        QCOMPARE(import.rows().questions.at(1).at(4), QVariant(u"借:原材料=100;贷:银行存款=100"_s));
    }
};

QTEST_GUILESS_MAIN(SheetImportTest)
#include "sheet_import.moc"

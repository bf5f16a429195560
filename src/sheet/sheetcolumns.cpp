#include "sheet/sheetcolumns.h"

#include "db/questiontypes.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

constexpr std::array<const char16_t *, ColumnCount> kTitles = {
    u"课程", u"章节", u"类别", u"题型", u"题干",     u"A",        u"B",        u"C",        u"D",    u"E",     u"F",
    u"答案", u"解析", u"分值", u"题号", u"所属案例", u"参考答案", u"课程编号", u"章节编号", u"主讲", u"讲义包"};

} // namespace

QString columnTitle(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromUtf16(kTitles[size_t(column)]) : QString();
}

bool isRequired(int column)
{
    return column == Course || column == Chapter || column == Type || column == Stem || column == Answer;
}

int columnOf(const QString &title)
{
    const QString t = title.trimmed();
    for (int k = 0; k < ColumnCount; ++k) {
        if (t == QString::fromUtf16(kTitles[size_t(k)]))
            return k;
    }
    if (t.size() == 3 && t.startsWith(u"选项"_s) && t.at(2) >= u'A' && t.at(2) <= u'F')
        return OptionA + (t.at(2).unicode() - u'A');
    return -1;
}

QString kindCode(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t == u"章节练习" || t == u"1")
        return u"1"_s;
    if (t == u"模拟试卷" || t == u"2")
        return u"2"_s;
    return {};
}

QString kindName(const QString &code)
{
    return code == u"2" ? u"模拟试卷"_s : u"章节练习"_s;
}

int typeCode(const QString &text)
{
    const QString t = text.trimmed();
    for (int type = 1; type <= 6; ++type) {
        if (t == db::typeName(type) || t == QString::number(type))
            return type;
    }
    return 0;
}

int fourthType(const QString &courseName)
{
    if (courseName.contains(u"基础"_s))
        return 4;
    if (courseName.contains(u"财经"_s))
        return 5;
    if (courseName.contains(u"电算"_s))
        return 6;
    return 0;
}

QString numberText(double value)
{
    QString t = QString::number(value, 'f', 4);
    while (t.endsWith(u'0'))
        t.chop(1);
    if (t.endsWith(u'.'))
        t.chop(1);
    return t == u"-0" ? u"0"_s : t;
}

QString exactNumberText(double value)
{
    if (value == 0)
        return u"0"_s;
    return QString::number(value, std::abs(value) < 1e15 ? 'f' : 'g', QLocale::FloatingPointShortest);
}

bool isKey(const QString &text)
{
    static const QRegularExpression re(u"^[A-Za-z0-9_]{1,14}$"_s);
    return re.match(text).hasMatch();
}

} // namespace sheet

#include "db/questiontypes.h"

#include <array>

namespace db {

namespace {
constexpr std::array<const char16_t *, 6> kNames = {u"单选题", u"多选题", u"判断题",
                                                    u"计算分析题", u"案例分析题", u"实务操作题"};
constexpr std::array<const char16_t *, 6> kScoreLabels = {u"1分", u"2分", u"1分", u"10分", u"10分", u"4分"};
} // namespace

QString typeName(int type)
{
    return type >= 1 && type <= 6 ? QString::fromUtf16(kNames[type - 1]) : QString();
}

QString typeScoreLabel(int type)
{
    return type >= 1 && type <= 6 ? QString::fromUtf16(kScoreLabels[type - 1]) : QString();
}

} // namespace db

#include "update/updatecheck.h"

#include "shell/inifile.h"
#include "update/updatelist.h"

using namespace Qt::StringLiterals;

namespace update {

ListVerdict judgeList(bool listReady, const QByteArray &listBytes, const QString &updateBeforeTime)
{
    using Kind = ListVerdict::Kind;
    if (!listReady)
        return {Kind::NotFetched, u"虽已联网,但联接超时,暂被取消升级."_s, {}};
    const UpdateList list = parseUpdateList(listBytes);
    const auto newest = parseListDate(list.dateText);
    if (!newest)
        return {Kind::BadList, u"下载列表有问题,升级取消,末次更新时间:"_s + updateBeforeTime, {}};
    const auto last = parseListDate(updateBeforeTime);
    if (!last)
        return {Kind::BadLastDate, u"末次更新时间 \"%1\" 不是有效的日期,升级取消."_s.arg(updateBeforeTime), {}};
    if (last->date() >= newest->date())
        return {Kind::NotNewer, u"当前没有最新,最后一次更新时间:"_s + updateBeforeTime, {}};
    return {Kind::Newer, u"有最新更新...."_s, list.dateText};
}

QString analysingStatus()
{
    return u"正在分析更新列表...."_s;
}

QString listDownloadedStatus()
{
    return u"列表已下载...."_s;
}

QString updaterStartedStatus(const QString &listDate)
{
    return u"题库更新至 "_s + listDate;
}

QString updateDeclinedStatus()
{
    return u"有最新题库,用户取消升级."_s;
}

Notice readNotice(const QString &path)
{
    IniFile ini(path);
    if (!ini.load())
        return {};
    return {ini.value(u"main"_s, u"alter_con"_s), ini.value(u"main"_s, u"alter_url"_s)};
}

} // namespace update

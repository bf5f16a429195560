// UpdateJob's import of a question sheet: checked and turned into a bank file, then merged.
#include "update/updatejob.h"

#include "db/connection.h"
#include "db/sql.h"
#include "sheet/sheetbank.h"
#include "sheet/sheetimport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kLookupConnection = "update-sheet-lookup";

UpdateJob::Outcome refusal(const QString &message, const QStringList &problems = {})
{
    return {UpdateJob::Result::Failed, message, u"错误信息"_s, 0, problems};
}

} // namespace

UpdateJob::Outcome UpdateJob::runImport(const QString &sheetFile)
{
    Q_EMIT step(u"请稍等,正在检查电子表格..."_s);
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return refusal(u"无法建立临时文件夹: "_s + scratch.errorString());
    const QString bankFile = scratch.filePath(u"sheet.htm"_s);
    Outcome refused;
    if (!readSheet(sheetFile, bankFile, &refused))
        return refused;
    Q_EMIT step(u"请稍等,正在分析题库升级信息..."_s);
    return merge(bankFile);
}

bool UpdateJob::readSheet(const QString &sheetFile, const QString &bankFile, Outcome *refused)
{
    QFile file(sheetFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *refused = refusal(u"无法读取 %1: %2"_s.arg(QDir::toNativeSeparators(sheetFile), file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    // Courses and chapters the bank already holds keep their keys when the sheet names them.
    const QString lookup = QString::fromLatin1(kLookupConnection);
    QString error;
    if (!db::openConfigured(m_paths, lookup, &error)) {
        *refused = refusal(error);
        return false;
    }
    sheet::KnownBank known;
    try {
        known = sheet::KnownBank::read(db::bank(lookup));
    } catch (const db::Error &e) {
        error = e.message();
    }
    db::closeBank(lookup);
    if (!error.isEmpty()) {
        *refused = refusal(error);
        return false;
    }
    sheet::SheetImport sheet(std::move(known));
    if (!sheet.read(bytes)) {
        *refused = refusal(u"电子表格 %1 中有%2处问题, 没有导入任何题目."_s.arg(QDir::toNativeSeparators(sheetFile))
                               .arg(sheet.problemCount()),
                           sheet.problems());
        return false;
    }
    if (!sheet::writeSheetBank(sheet.rows(), bankFile, &error)) {
        *refused = refusal(u"无法写入临时题库: "_s + error);
        return false;
    }
    return true;
}

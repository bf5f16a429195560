#pragma once

#include <QString>

// The question types 1..6: their names and the per-type mark texts the setup panels show.
namespace db {

// "单选题", "多选题", "判断题", "计算分析题", "案例分析题", "实务操作题"; empty outside 1..6.
QString typeName(int type);

// "1分", "2分", "1分", "10分", "10分", "4分" (display texts; counted marks come from the bank).
QString typeScoreLabel(int type);

} // namespace db

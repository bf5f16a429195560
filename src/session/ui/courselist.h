#pragma once

#include <QString>
#include <QStringList>

class MainWindow;
class QComboBox;
class QWidget;

// Fills a panel's course list from the bank. A bank without courses ends the program after
// emptyMessage (the panels cannot work without one); a database error is shown. Returns true when
// the list holds courses, with their ids in ids in the same order.
bool fillCourseList(QWidget *panel, MainWindow *main, QComboBox *list, QStringList *ids,
                    const QString &emptyMessage = QStringLiteral("当前课程记录为零,无法进行练习,即将退出...."));

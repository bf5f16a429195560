#pragma once

#include <QStringList>

class MainWindow;
class QComboBox;
class QWidget;

// Fills a setup panel's course list from the bank. A bank without courses ends the program (the
// panels cannot work without one); a database error is shown. Returns true when the list holds
// courses, with their ids in ids in the same order.
bool fillCourseList(QWidget *panel, MainWindow *main, QComboBox *list, QStringList *ids);

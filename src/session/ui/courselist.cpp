#include "session/ui/courselist.h"

#include "db/connection.h"
#include "db/sql.h"
#include "session/chaptersession.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/messages.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

bool fillCourseList(QWidget *panel, MainWindow *main, QComboBox *list, QStringList *ids, const QString &emptyMessage)
{
    QList<session::Course> courses;
    try {
        courses = session::courses(db::bank());
    } catch (const db::Error &e) {
        messages::inform(panel, e.message(), u"错误信息"_s);
        return false;
    }
    if (courses.isEmpty()) {
        messages::inform(panel, emptyMessage, u"错误信息"_s);
        main->close();
        return false;
    }
    list->clear();
    ids->clear();
    for (const session::Course &c : courses) {
        list->addItem(c.name);
        ids->append(c.id);
    }
    list->setCurrentIndex(0);
    return true;
}

// The rule every session build follows before it replaces the working copy.
#include "shell/ui/mainwindow.h"

#include "practice/ui/practicewindow.h"

bool MainWindow::closeSessionWindows()
{
    // The practice window totals its session from the working copy: it must finish before the
    // copy is replaced, or its totals and marks would land on the new session.
    if (!PracticeWindow::closeCurrent())
        return false;
    return !m_examWindow || m_examWindow->close();
}

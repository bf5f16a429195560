#pragma once

#include "practice/practiceinputs.h"

class MainWindow;
class PracticeWindow;

// Opens the practice window for an opener of the main window (chapter practice, targeted practice,
// the review modes): the open one is asked to close first (nullptr when it stays open), the new one
// is owned by the main window, runs maximised, and on finishing fills the practice-result panel of
// Panel6 and brings it to the front.
PracticeWindow *openPracticeWindow(MainWindow *main, const practice::PracticeInputs &inputs);

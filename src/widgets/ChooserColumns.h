#pragma once
// The columns of the program's own file chooser made wide enough for what
// they hold: the names take the room that is left, the size, type and date
// columns are as wide as their contents and their (translated) headings, and
// the places at the left as wide as their names.
class QFileDialog;

// Call before the chooser is shown; the chooser must not be the platform's own.
void FitChooserColumns(QFileDialog& dialog);

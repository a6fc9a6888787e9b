#pragma once
// The OK and Cancel buttons of a dialog.
class QHBoxLayout;
class QPushButton;
class QWidget;

// Makes `ok` and `cancel` (named btnOk and btnCancel, with the style's icons;
// OK the default button) and returns the row that holds them at its right.
QHBoxLayout* NewOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel);

#pragma once
// The thirteen images of the toolbar and its menus, drawn by the program, and
// the glyph of the STOP button.
#include <QIcon>

enum class TToolbarImage {
    Open = 0,
    Save = 1,
    Generate = 2,
    Print = 3,
    Function = 4,
    North = 5,
    East = 6,
    South = 7,
    West = 8,
    Clear = 9,
    Constant = 10,
    Operator = 11,
    Statistics = 12,
    Stop = 13,
    FixedCards = 14,
    DoubleDummy = 20,  // the analysis command: a table of tricks
};

QIcon ToolbarImage(TToolbarImage image);

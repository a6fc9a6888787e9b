#pragma once
// Keyboard order of a window's controls.
class QWidget;

// Makes Tab visit the controls that take the focus by Tab in the order the
// window's layouts place them: rows of a form layout top to bottom, each label
// before its field, the items of box layouts in their order, and the controls
// inside a laid-out container where the container stands.
void OrderTabsAsLaidOut(QWidget* window);

#pragma once
// Keeps a window on its screen: whatever the screen's size and scale, a window
// is no larger than the screen's free area and lies inside it.
class QWidget;

// Shrinks the window's frame to the available area of its screen (or the
// primary one) and moves it so that the whole frame lies in that area; once
// more as soon as the event loop runs, when a window just shown has its frame.
void FitIntoScreen(QWidget* window);

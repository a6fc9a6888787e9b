#include "dialogs/internal/ShapeWindow.h"

TShapeWindow::TShapeWindow(QWidget* owner)
    : TSuitsWindow(owner, "Истина, если расклад соответствует", {"1", "2", "3", "4"}) {}

QString TShapeWindow::Execute(const QString&) { return ExecuteAs("Shape"); }

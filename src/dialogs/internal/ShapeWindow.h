#pragma once
#include "dialogs/internal/SuitsWindow.h"

// Shape(seat,code,l1,l2,l3,l4): the suit lengths sorted longest first compared
// with wanted lengths; the four fields are labelled 1 to 4.
class TShapeWindow : public TSuitsWindow {
    Q_OBJECT
public:
    explicit TShapeWindow(QWidget* owner = nullptr);
    QString Execute(const QString& name = QString()) override;
};

#pragma once

#include "ui/widgets/window_manager_move.h"

#include <QList>
#include <QPointF>

// Stands in for a window manager that takes every move: keeps the spot each
// move was started from and counts the cancels.
class FakeWindowManagerMove final : public WindowManagerMove {
public:
    bool Start(QWindow &, QPointF grabbedSpot) override
    {
        starts << grabbedSpot;
        return true;
    }
    void Cancel(QWindow &) override { ++cancels; }
    QList<QPointF> starts;
    int cancels = 0;
};

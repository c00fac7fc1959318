#include "ui/widgets/freed_memory_release.h"

#include <QEvent>
#include <QWidget>

#include <malloc.h>

namespace {

constexpr int ReleaseDelayMs = 1000;

} // namespace

FreedMemoryRelease::FreedMemoryRelease(QObject *parent)
    : QObject(parent)
{
    release_.setSingleShot(true);
    release_.setInterval(ReleaseDelayMs);
    connect(&release_, &QTimer::timeout, this, [] { malloc_trim(0); });
}

bool FreedMemoryRelease::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
        release_.start();
    return QObject::eventFilter(watched, event);
}

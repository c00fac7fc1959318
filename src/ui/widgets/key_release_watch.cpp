#include "ui/widgets/key_release_watch.h"

#include <QWidget>

void WatchKeysOnWindowAndChildren(QWidget &window, QObject &filter)
{
    window.installEventFilter(&filter);
    for (QWidget *child : window.findChildren<QWidget *>())
        child->installEventFilter(&filter);
}

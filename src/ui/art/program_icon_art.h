#pragma once

#include <QIcon>
#include <QImage>

// The program's icon at `size` x `size` pixels: a vermilion seal holding the
// hexagram 既济 (water over fire) in cream, its lines snapped to whole pixels
// so the small sizes stay crisp. The desktop icons and the window icon.
QImage ProgramIconPicture(int size);

// The window icon: the installed theme icon `themeName` (the program's
// desktop id) where the desktop has it, else the picture above at the usual
// icon sizes.
QIcon ProgramIcon(const QString &themeName);

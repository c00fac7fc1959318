#pragma once

#include <QImage>
#include <QString>

#include <functional>

// Pictures drawn in code kept on disk, so that a start need not draw them
// again, nor load the fonts their lettering uses: the splash's picture alone
// costs several font faces and some 80 ms before the splash can show.

// The name of a cached picture: `name`, the program's version, the size and
// time of the running executable (a rebuilt or reinstalled program draws its
// pictures afresh) and the device pixel ratio.
QString PictureCacheKey(const QString &name, const QString &version, qreal devicePixelRatio);

// The picture stored under `key` in `folder`; when there is none, or it
// cannot be read, `draw` draws it and it is stored for the next time. A
// folder that cannot be written only costs the drawing. For opaque pictures:
// the file keeps no alpha channel.
QImage CachedPicture(const QString &folder, const QString &key, const std::function<QImage()> &draw);

#include "ui/art/picture_cache.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QString PictureCacheKey(const QString &name, const QString &version, qreal devicePixelRatio)
{
    const QFileInfo executable(QCoreApplication::applicationFilePath());
    return QStringLiteral("%1-%2-%3-%4-%5x")
        .arg(name, version)
        .arg(executable.size())
        .arg(executable.lastModified().toMSecsSinceEpoch())
        .arg(devicePixelRatio);
}

QImage CachedPicture(const QString &folder, const QString &key, const std::function<QImage()> &draw)
{
    // BMP: no compression to undo, so reading it costs about a millisecond.
    const QString path = folder + u'/' + key + QStringLiteral(".bmp");
    QImage picture(path, "BMP");
    if (!picture.isNull())
        return picture;
    picture = draw();
    QSaveFile file(path);
    if (QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && picture.save(&file, "BMP"))
        file.commit();
    return picture;
}

// Writes the program's desktop icon at every size given as
// <output>/<size>x<size>/apps/<name>.png, the layout of the hicolor theme.
#include "ui/art/program_icon_art.h"

#include <QDir>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER NAME SIZE...\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString fileName = QString::fromLocal8Bit(argv[2]) + QStringLiteral(".png");
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size < 16) {
            std::fprintf(stderr, "%s: not an icon size: %s\n", argv[0], argv[i]);
            return 2;
        }
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(folder) || !ProgramIconPicture(size).save(folder + u'/' + fileName)) {
            std::fprintf(stderr, "%s: cannot write the %d-pixel icon\n", argv[0], size);
            return 1;
        }
    }
    return 0;
}

#include "fileformat/regular_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileOpening KindOfOpenFile(int handle)
{
    struct stat status{};
    if (::fstat(handle, &status) != 0)
        return FileOpening::Unopenable;
    return S_ISREG(status.st_mode) ? FileOpening::Opened : FileOpening::NotRegular;
}

FileOpening OpenRegularFile(QFile &file, const QString &path)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return FileOpening::Unopenable;
    if (const FileOpening kind = KindOfOpenFile(handle); kind != FileOpening::Opened) {
        ::close(handle);
        return kind;
    }
    if (!file.open(handle, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return FileOpening::Unopenable;
    }
    return FileOpening::Opened;
}

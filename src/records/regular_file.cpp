#include "regular_file.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FileOpening OpenRegularFile(QFile &file, const QString &path)
{
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return FileOpening::Unopenable;
    struct stat status{};
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)) {
        const bool folder = S_ISDIR(status.st_mode);
        ::close(handle);
        return folder ? FileOpening::Unopenable : FileOpening::NotRegular;
    }
    if (!file.open(handle, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return FileOpening::Unopenable;
    }
    return FileOpening::Opened;
}

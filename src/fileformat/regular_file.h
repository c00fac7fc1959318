#pragma once

#include <QString>

class QFile;

enum class FileOpening {
    Opened,
    Unopenable, // missing or unreadable
    NotRegular, // a folder, a device, a FIFO or a socket: never read as a text file
};

// What the file open as `handle` is: Opened for a regular file, Unopenable
// for a file that cannot be examined, NotRegular for anything else. The check is made on the open file, so the name cannot be swapped
// in between.
FileOpening KindOfOpenFile(int handle);

// Opens `path` for reading, unbuffered, only when it is a regular file. The
// check is made on the opened file, and opening never waits: a FIFO without
// a writer, /dev/zero or a terminal is refused instead of hanging the
// program or filling its memory.
FileOpening OpenRegularFile(QFile &file, const QString &path);

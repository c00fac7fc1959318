#pragma once

#include <QString>

class QFile;

enum class FileOpening {
    Opened,
    Unopenable, // missing, unreadable, or a folder
    NotRegular, // a device, a FIFO or a socket: never read as a text file
};

// Opens `path` for reading, unbuffered, only when it is a regular file. The
// check is made on the opened file, and opening never waits: a FIFO without
// a writer, /dev/zero or a terminal is refused instead of hanging the
// program or filling its memory.
FileOpening OpenRegularFile(QFile &file, const QString &path);

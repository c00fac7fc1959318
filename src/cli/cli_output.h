#pragma once

#include "cli/terminal_charset.h"

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// One output stream of ravezaz-cli (standard output or standard error),
// written through a buffer straight to its file descriptor. Every write is
// checked: the first failure is kept, later output is dropped, and Finish
// reports it, so output that did not arrive is never taken for written.
class CliOutput {
public:
    CliOutput(int descriptor, TerminalCharset charset);
    CliOutput(const CliOutput &) = delete;
    CliOutput &operator=(const CliOutput &) = delete;

    // Terminal text, in the terminal's character set; texts in the source
    // are UTF-8.
    CliOutput &operator<<(QStringView text);
    CliOutput &operator<<(const QString &text) { return *this << QStringView(text); }
    CliOutput &operator<<(const char *text);
    CliOutput &operator<<(char character);
    CliOutput &operator<<(int number) { return *this << qint64(number); }
    CliOutput &operator<<(qint64 number);

    // Terminal text given as UTF-8 holding whole characters.
    void WriteText(std::string_view utf8);
    // Bytes written as they stand: formats that are UTF-8 whatever the
    // terminal (JSON, iCalendar).
    void WriteBytes(std::string_view bytes);

    // Prepares the stream for megabytes of output: a pipe is made larger.
    void ExpectLargeOutput();

    // Writes what the buffer holds and closes the descriptor; false when a
    // write or the close failed, with the reason in ErrorText.
    [[nodiscard]] bool Finish();
    // The system's words for the first failure, in the terminal's set.
    QString ErrorText() const;

private:
    void Flush();
    void WriteOut(std::string_view bytes);

    int descriptor_;
    TerminalCharset charset_;
    std::string pending_;
    int error_ = 0;
};

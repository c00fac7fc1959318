#pragma once

#include "cli/cli_output.h"

#include <QStringList>

// Each command of ravezaz-cli takes the arguments after its name and returns
// the process exit code. Terminal text is written in the locale's character
// set; JSON and iCalendar output is UTF-8.
struct CliStreams {
    CliOutput &out;
    CliOutput &err;
};

int RunHexagramCommand(const QStringList &args, CliStreams io);
int RunRecordsCommand(const QStringList &args, CliStreams io);
int RunCastCommand(const QStringList &args, CliStreams io);
int RunAlmanacCommand(const QStringList &args, CliStreams io);

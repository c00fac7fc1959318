#pragma once

#include <QStringList>
#include <QTextStream>

// Each command of ravezaz-cli takes the arguments after its name and returns
// the process exit code. Output is UTF-8.
struct CliStreams {
    QTextStream &out;
    QTextStream &err;
};

int RunHexagramCommand(const QStringList &args, CliStreams io);
int RunRecordsCommand(const QStringList &args, CliStreams io);
int RunCastCommand(const QStringList &args, CliStreams io);
int RunAlmanacCommand(const QStringList &args, CliStreams io);

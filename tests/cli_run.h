#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// What a script sees of one run of the built ravezaz-cli.
struct CliResult {
    int exitCode;
    QString out;
    QString err;
};

inline CliResult RunCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(RAVEZAZ_CLI), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

#include "shell/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder()
{
    return WithoutTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString WithoutTrailingSeparator(const QString &folder)
{
    return folder.endsWith(u'/') ? folder.chopped(1) : folder;
}

QString VersionText()
{
    return QStringLiteral(RAVEZAZ_VERSION);
}

QString WritableFilePath(const QString &fileName, const QString &programFolder, const QString &userFolder)
{
    // A file already beside the program is used wherever it can be written
    // in place, even in a folder that cannot take new files.
    const QString besideProgram = programFolder + u'/' + fileName;
    const QFileInfo existing(besideProgram);
    if (existing.isFile() && existing.isWritable())
        return besideProgram;
    // The trailing separator lets the root folder, kept as the empty text, be tested too.
    const QFileInfo folder(programFolder + u'/');
    if (folder.isDir() && folder.isWritable())
        return besideProgram;
    QDir().mkpath(userFolder);
    return userFolder + u'/' + fileName;
}

QString WritableFilePath(const QString &fileName)
{
    return WritableFilePath(fileName, ProgramFolder(),
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString RecordFilePath()
{
    static const QString path = WritableFilePath(QStringLiteral("filelog.kdf"));
    return path;
}

QString SettingsFilePath()
{
    static const QString path = WritableFilePath(QStringLiteral("setlog.kds"));
    return path;
}

QString HelpFilePath()
{
    return ProgramFolder() + QStringLiteral("/kdhelp.chm");
}

#include "program_folder.h"

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
    // The trailing separator lets the root folder, kept as the empty text, be tested too.
    const QFileInfo folder(programFolder + u'/');
    if (folder.isDir() && folder.isWritable())
        return programFolder + u'/' + fileName;
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

#pragma once

#include <QString>

// The folder of the executable, without a trailing separator. Every data file
// the program reads is ProgramFolder() + a relative path beginning with "/".
QString ProgramFolder();

// `folder` without its trailing separator; the root folder "/" becomes the
// empty text, so that folder + "/file" still has exactly one separator.
QString WithoutTrailingSeparator(const QString &folder);

// major.minor.revision of this build.
QString VersionText();

// Where a file the program writes (the settings file, the default record
// file) lives: beside the program when the file there can be written in
// place or the folder can be written; otherwise in the per-user data folder,
// so nothing is lost on a system-wide install.
// `programFolder` and `userFolder` are parameters so tests can use temporary
// folders; the one-argument form uses the real ones.
QString WritableFilePath(const QString &fileName, const QString &programFolder, const QString &userFolder);
QString WritableFilePath(const QString &fileName);

// The default record file and the settings file.
QString RecordFilePath();
QString SettingsFilePath();

// The compiled help file beside the program.
QString HelpFilePath();

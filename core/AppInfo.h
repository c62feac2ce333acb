#pragma once
// Facts about the running program that several subsystems need: its folder, its
// version, the help file path set at start-up, and where its data files lie.
#include <QString>

namespace AppInfo {

inline constexpr const char* kProductName = "Trimjet";
inline constexpr const char* kHelpFileName = "Trimjet.html";
int VersionMajor();
int VersionMinor();

// Folder of the running executable, without a trailing "/".
QString ProgramFolder();
// Where file dialogs and folder trees start when nothing is remembered: the user's pictures
// folder (XDG), else the home folder.
QString PicturesFolder();
// The help file path; start-up sets it to ProgramFolder() + "/" + kHelpFileName.
QString HelpFile();
void SetHelpFile(const QString& path);
// A data file of the program (help, language file): the program's folder first,
// then ../share/trimjet/ beside it. Returns the first path that exists, or the
// program-folder path when neither does.
QString FindDataFile(const QString& fileName);

}  // namespace AppInfo

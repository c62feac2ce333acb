#pragma once
// The start-up routine: prepares the program and opens the one window that the
// command line asks for.
#include <QString>
#include <QStringList>

class QApplication;
class StartupTargets;

namespace modMAIN {

// Everything after the program path, joined with single blanks.
QString ArgsFromCommandLine(const QStringList& arguments);
// Gives the windows the class and desktop name of the program whatever file started it.
void NameWindows();
// The three preparation steps: help file path, control registration, English texts.
void Prepare();
// Decides by keyword (exact, case-sensitive): the keyword at the start of args, else the
// first found anywhere in the order Debug:StartMain, OptimizeImage, BatchProcess. Opens
// one window through targets, or shows why none opens.
void Main(const QString& args, StartupTargets& targets);
// Before the application is made: writes to a closed pipe or socket fail instead of ending
// the program.
void IgnoreBrokenPipes();
// Main for a command line a second start handed over from folder (its current folder).
void TakeOver(const QString& folder, const QString& args, StartupTargets& targets);
// The whole start: hands the command line to a running program and ends when there is one;
// else prepares, opens the window the command line asks for and runs the
// event loop while a window is open. Returns the process exit code.
int Run(QApplication& app);

}  // namespace modMAIN

#pragma once

#include <QString>
#include <QStringList>

// The program's command line: the switches "-updateforvista:", "-restart:" and
// "-restart_cleanup:", each written with a file name in double quotation marks
// (-restart:"kelvora"), and the document to open.
namespace CommandLineSwitches
{
inline const QString UpdateForVista = QStringLiteral("-updateforvista:");
inline const QString Restart = QStringLiteral("-restart:");
inline const QString RestartCleanup = QStringLiteral("-restart_cleanup:");

// The file name of the first occurrence of the switch and its opening quotation mark in the
// command-line text; false when the switch is absent or its closing quotation mark is missing.
bool FindFileName(const QString& commandLine, const QString& switchText, QString& name);

// A name that the restart switches may copy over or delete: a file directly in the program
// folder, so not empty and without "/" or "..".
bool IsProgramFolderName(const QString& name);

// The document named on the command line: the first argument that is not a switch (switches
// begin with "-"); empty when there is none.
QString FindDocument(const QStringList& arguments);
} // namespace CommandLineSwitches

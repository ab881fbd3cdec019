#pragma once
// What the commands of the command module share: reports with Qt strings (over CommandTable.h)
// and the application the engine needs for its fonts and pictures.

#include "CommandTable.h"

#include <QString>
#include <QStringList>

#include <string>

namespace vorncli {

int UsageError(const char* CommandName, const QString& Message);
int InputError(const QString& Message);

// Starts the application the engine draws with (a QGuiApplication on the offscreen platform
// unless QT_QPA_PLATFORM names another) unless there is one. A command that spreads its work over
// worker processes calls it in each worker, after they have started.
void StartGuiApplication();
// A core application for commands that draw nothing (no platform, no font database of Qt).
void StartCoreApplication();

// File names between Qt and the system's byte strings.
std::string FileBytes(const QString& FileName);
QString FileText(const std::string& FileName);

}  // namespace vorncli

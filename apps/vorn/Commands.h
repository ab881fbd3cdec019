#pragma once
// The sub-commands of the vorn tool. Each command lives in its own file and adds itself to the
// table in Commands.cpp. Exit status: 0 success, 1 bad input (one line on stderr), 2 wrong usage.

#include <QStringList>

#include <cstdio>

namespace vorncli {

struct Command {
  const char* Name;
  const char* Synopsis;  // one usage line, after "vorn "
  int (*Run)(const QStringList& Args);
};

const Command* FindCommand(const char* Name);
void PrintUsage(std::FILE* Out);

// Reports a usage error for a command and returns 2.
int UsageError(const char* CommandName, const QString& Message);
// Reports bad input and returns 1.
int InputError(const QString& Message);

}  // namespace vorncli

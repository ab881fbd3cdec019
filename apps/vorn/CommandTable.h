#pragma once
// The sub-commands of the vorn tool, their usage lines and the common way to report errors.
// Exit status: 0 success, 1 bad input (one line on stderr per failure), 2 wrong usage.
//
// `img` and `version` run in the small program itself; the other commands need the engine, its
// fonts and pictures, which load with the command module (CommandModule.h) when one of them runs.

#include <cstdio>
#include <string>

namespace vorncli {

struct TCommandInfo {
  const char* Name;
  const char* Synopsis;  // usage lines after "vorn ", separated by '\n'
  bool InModule;         // runs in the command module
};

// The command called Name, or null.
const TCommandInfo* FindCommandInfo(const char* Name);
void PrintUsage(std::FILE* Out);

// Reports a usage error of a command with its usage lines and returns 2.
int UsageError(const char* CommandName, const std::string& Message);
// Reports bad input ("vorn: MESSAGE") and returns 1.
int InputError(const std::string& Message);

}  // namespace vorncli

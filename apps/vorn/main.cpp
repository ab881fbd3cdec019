// vorn: the command line of the Vorn Drawing Engine.
//
// This program itself uses no Qt: `vorn img` converts netpbm pictures and IMG files without
// loading any graphics library, so that a conversion starts as fast as the netpbm tools do. The
// commands that need the engine run in the command module, loaded on demand.
#include "CommandModule.h"
#include "CommandTable.h"

#include <vorn/common/Version.h>

#include <cstdio>
#include <cstring>

namespace vorncli {
int RunImg(int argc, char** argv);  // ImgCommand.cpp
}  // namespace vorncli

int main(int argc, char** argv) {
  using namespace vorncli;
  if (argc >= 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "version") == 0)) {
    std::printf("%s\n", vorn::kVornProductName);
    return 0;
  }
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  const TCommandInfo* command = FindCommandInfo(argv[1]);
  if (!command) {
    std::fprintf(stderr, "vorn: unknown command '%s'\n", argv[1]);
    PrintUsage(stderr);
    return 2;
  }
  if (!command->InModule) return RunImg(argc, argv);
  std::string error;
  const TCommandModule* module = CommandModule(error);
  if (!module) return InputError(error);
  return module->Run(argc, argv);
}

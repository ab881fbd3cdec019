// vorn: the command line of the Vorn Drawing Engine.
#include "Commands.h"

#include <vorn/common/Version.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "version") == 0)) {
    std::printf("%s\n", vorn::kVornProductName);
    return 0;
  }
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    vorncli::PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  // Rendering and fonts need a GUI application; offscreen works without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const vorncli::Command* cmd = vorncli::FindCommand(argv[1]);
  if (!cmd) {
    std::fprintf(stderr, "vorn: unknown command '%s'\n", argv[1]);
    vorncli::PrintUsage(stderr);
    return 2;
  }
  QStringList args;
  for (int i = 2; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  return cmd->Run(args);
}

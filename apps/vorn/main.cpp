// vorn: the command line of the Vorn Drawing Engine.
#include "Commands.h"

#include <vorn/common/Version.h>

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

namespace {

QtMessageHandler DefaultHandler = nullptr;

// Without a login session (a container, a build machine) Qt notes that it falls back to its own
// runtime directory. The fallback is fine for this tool, and the note would turn every one-line
// message of a command into two.
void QuietHandler(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Type == QtWarningMsg && Message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (DefaultHandler) DefaultHandler(Type, Context, Message);
}

}  // namespace

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
  DefaultHandler = qInstallMessageHandler(QuietHandler);
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

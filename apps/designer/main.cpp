// vorn-designer [FILE...]: Vorn Designer, a label and drawing designer. Each FILE opens in a
// window of its own (none: an empty document).
//
//   vorn-designer --demo OUTDIR [LABEL]   the scripted demonstration (DemoScript.h); without a
//                                         display it runs on the offscreen platform
//   vorn-designer --version | --help

#include "DemoScript.h"
#include "MainWindow.h"

#include <vorn/common/Version.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

bool HasDisplay() { return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window system is asked for, so that they work anywhere.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("Vorn Designer 1.0 (%s)\n", vorn::kVornProductName);
      return 0;
    }
    if (std::strcmp(argv[i], "--demo") == 0 && !HasDisplay() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorn Designer"));
  QApplication::setOrganizationName(QStringLiteral("Vorn"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Vorn Designer: labels and drawings with the Vorn Drawing Engine"));
  parser.addHelpOption();
  parser.addOption({QStringLiteral("demo"), QStringLiteral("Play the scripted demonstration, writing into <dir>."),
                    QStringLiteral("dir")});
  parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Documents to open."), QStringLiteral("[FILE...]"));
  parser.process(app);
  const QStringList files = parser.positionalArguments();

  if (parser.isSet(QStringLiteral("demo"))) {
    if (files.size() != 1) {
      std::fprintf(stderr, "vorn-designer: --demo needs the label document\n");
      return 2;
    }
    QTextStream out(stdout);
    vorndesigner::TMainWindow window;
    return vorndesigner::RunDemoScript(window, files.first(), parser.value(QStringLiteral("demo")), out);
  }

  // The first window offers what a crashed session left; the others open the remaining files.
  auto* first = new vorndesigner::TMainWindow;
  first->setAttribute(Qt::WA_DeleteOnClose);
  first->show();
  const bool restored = first->OfferRecovery();
  for (qsizetype i = 0; i < files.size(); ++i) {
    vorndesigner::TMainWindow* w = first;
    if (i > 0 || restored) {
      w = new vorndesigner::TMainWindow;
      w->setAttribute(Qt::WA_DeleteOnClose);
      w->move(first->pos() + QPoint(30, 30) * int(i + 1));
      w->show();
    }
    w->Open(QFileInfo(files[i]).absoluteFilePath());
  }
  return QApplication::exec();
}

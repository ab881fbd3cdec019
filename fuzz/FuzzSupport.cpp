#include "FuzzSupport.h"

#include <vorn/shapes/VornShapes.h>

#include <QApplication>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace vorn::fuzz {

QByteArray WithoutSubstitutions(const QByteArray& Text) {
  QList<QByteArray> lines = Text.split('\n');
  lines.removeIf([](const QByteArray& L) { return L.trimmed().startsWith("<Subst>"); });
  return lines.join('\n');
}

void Fail(const char* What, const QByteArray& Expected, const QByteArray& Actual) {
  std::fprintf(stderr, "fuzz: %s\n", What);
  if (!Expected.isEmpty() || !Actual.isEmpty())
    std::fprintf(stderr, "---- expected\n%s\n---- actual\n%s\n", Expected.constData(), Actual.constData());
  std::abort();
}

}  // namespace vorn::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Decoders warn about every damaged file; at thousands of inputs a second that is only noise.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static int qtArgc = 1;
  static char* qtArgv[] = {argc && *argc > 0 ? (*argv)[0] : const_cast<char*>("fuzz"), nullptr};
  static QApplication app(qtArgc, qtArgv);
  vorn::RegisterVornShapes();
  return 0;
}

// vorn resave IN OUT: reads a document and writes it again with this engine, which brings an
// older or hand-edited file into the current form (the old file stays when writing fails).
#include "Commands.h"
#include "DocumentIO.h"

#include <vorn/common/Exceptions.h>

#include <cstdio>

namespace vorncli {
namespace {

constexpr const char* kName = "resave";

}  // namespace

int RunResave(const QStringList& Args) {
  if (Args.size() != 2 || Args[0].startsWith(QLatin1Char('-')) || Args[1].startsWith(QLatin1Char('-')))
    return UsageError(kName, QStringLiteral("expected IN and OUT"));
  LoadedDocument doc;
  QString error;
  if (!doc.Load(Args[0], error)) return InputError(error);
  for (const QString& w : doc.Warnings) std::fprintf(stderr, "vorn: %s: %s\n", qPrintable(Args[0]), qPrintable(w));
  try {
    vorn::TKxDeDocumentFile::SaveLayersToFile(Args[1], doc.Layers, doc.Settings, TerminalProgress("writing"));
  } catch (const vorn::Exception& e) {
    return InputError(QStringLiteral("%1: %2").arg(Args[1], e.Message()));
  }
  return 0;
}

}  // namespace vorncli

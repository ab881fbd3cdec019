// vorn info DOC: the page of a document, its layers and, per layer, how many shapes of each
// class it holds (shapes inside groups and packages included).
#include "Commands.h"
#include "DocumentIO.h"

#include <vorn/common/Units.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeRegister.h>

#include <cstdio>
#include <map>

namespace vorncli {
namespace {

constexpr const char* kName = "info";

void CountClasses(const vorn::TKxDeContainer* Container, std::map<QString, int64_t>& Counts) {
  for (int32_t i = 0; i < Container->ItemCount(); ++i) {
    const vorn::TKxDeShapeBase* s = Container->Items(i);
    ++Counts[s->ClassName()];
    if (auto* c = dynamic_cast<const vorn::TKxDeContainer*>(s)) CountClasses(c, Counts);
  }
}

QString ColorText(vorn::TColor C) {
  if (C == vorn::clNone) return QStringLiteral("none");
  const QColor q = vorn::ToQColor(C);
  return q.name(QColor::HexRgb).toUpper();
}

}  // namespace

int RunInfo(const QStringList& Args) {
  if (Args.size() != 1 || Args[0].startsWith(QLatin1Char('-')))
    return UsageError(kName, QStringLiteral("expected one document"));
  LoadedDocument doc;
  QString error;
  if (!doc.Load(Args[0], error)) return InputError(error);
  const double mm = vorn::CoordsPixelsPerMMConvertValue;
  std::printf("%s\n", qPrintable(Args[0]));
  std::printf("page: %.1f x %.1f mm, colour %s\n", doc.Settings.PageWidth / mm, doc.Settings.PageHeight / mm,
              qPrintable(ColorText(doc.Settings.PageColor)));
  std::printf("shapes: %lld in %d layer%s\n", static_cast<long long>(doc.ShapeCount()),
              static_cast<int>(doc.Layers.size()), doc.Layers.size() == 1 ? "" : "s");
  for (size_t i = 0; i < doc.Layers.size(); ++i) {
    const vorn::TKxDeLayer* layer = doc.Layers[i];
    std::map<QString, int64_t> counts;
    CountClasses(layer, counts);
    int64_t total = 0;
    for (const auto& [name, n] : counts) total += n;
    QStringList flags;
    flags << (layer->Visible() ? QStringLiteral("visible") : QStringLiteral("hidden"));
    if (layer->Locked()) flags << QStringLiteral("locked");
    if (!layer->PrintingAllowed()) flags << QStringLiteral("not printed");
    std::printf("layer %zu \"%s\" (%s): %lld shape%s\n", i, qPrintable(layer->Name()),
                qPrintable(flags.join(QStringLiteral(", "))), static_cast<long long>(total), total == 1 ? "" : "s");
    for (const auto& [name, n] : counts) {
      const QString display = vorn::TKxDeRegister::FindShapeDisplayName(vorn::TKxDeRegister::FindShape(name));
      std::printf("  %-16s %8lld%s\n", qPrintable(name), static_cast<long long>(n),
                  display.isEmpty() ? "" : qPrintable(QStringLiteral("  (%1)").arg(display)));
    }
  }
  for (const QString& w : doc.Warnings) std::printf("skipped: %s\n", qPrintable(w));
  return 0;
}

}  // namespace vorncli

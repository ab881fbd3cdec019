#include "DocumentIO.h"

#include "Batch.h"

#include <vorn/common/Exceptions.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>

#include <unistd.h>

#include <cstdio>
#include <memory>

namespace vorncli {
namespace {

// Work on fewer shapes than this is quick enough to show no progress.
constexpr int64_t kProgressFrom = 20000;

int64_t CountShapes(const vorn::TKxDeContainer* Container) {
  int64_t n = 0;
  for (int32_t i = 0; i < Container->ItemCount(); ++i) {
    ++n;
    if (auto* c = dynamic_cast<const vorn::TKxDeContainer*>(Container->Items(i))) n += CountShapes(c);
  }
  return n;
}

}  // namespace

std::function<void(int64_t, int64_t)> TerminalProgress(const char* What) {
  // In a batch the batch shows its own progress.
  if (InBatch() || !isatty(fileno(stderr))) return {};
  auto last = std::make_shared<int>(-1);
  return [What, last](int64_t Done, int64_t Total) {
    if (Total < kProgressFrom) return;
    const int percent = static_cast<int>(Done >= Total ? 100 : Done * 100 / Total);
    if (percent == *last) return;
    *last = percent;
    std::fprintf(stderr, "\r%s: %3d%%", What, percent);
    if (percent == 100) std::fprintf(stderr, "\n");
    std::fflush(stderr);
  };
}

LoadedDocument::~LoadedDocument() {
  for (vorn::TKxDeLayer*& layer : Layers) vorn::Free(layer);
}

bool LoadedDocument::Load(const QString& FileName, QString& Error) {
  vorn::RegisterVornShapes();
  try {
    vorn::TKxDeDocumentLoadOptions options;
    options.OnProgress = TerminalProgress("reading");
    const vorn::TKxDeXmlReadReport report =
        vorn::TKxDeDocumentFile::LoadLayersFromFile(FileName, Layers, Settings, options);
    Warnings = report.Messages;
  } catch (const vorn::Exception& e) {
    // One line, whatever the reader said, naming the file once.
    const QString message = e.Message().simplified();
    Error = message.contains(FileName) ? message : QStringLiteral("%1: %2").arg(FileName, message);
    return false;
  }
  return true;
}

int64_t LoadedDocument::ShapeCount() const {
  int64_t n = 0;
  for (const vorn::TKxDeLayer* layer : Layers)
    if (layer) n += CountShapes(layer);
  return n;
}

}  // namespace vorncli

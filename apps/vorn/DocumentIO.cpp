#include "DocumentIO.h"

#include <vorn/common/Exceptions.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>

namespace vorncli {
namespace {

int64_t CountShapes(const vorn::TKxDeContainer* Container) {
  int64_t n = 0;
  for (int32_t i = 0; i < Container->ItemCount(); ++i) {
    ++n;
    if (auto* c = dynamic_cast<const vorn::TKxDeContainer*>(Container->Items(i))) n += CountShapes(c);
  }
  return n;
}

}  // namespace

LoadedDocument::~LoadedDocument() {
  for (vorn::TKxDeLayer*& layer : Layers) vorn::Free(layer);
}

bool LoadedDocument::Load(const QString& FileName, QString& Error) {
  vorn::RegisterVornShapes();
  try {
    const vorn::TKxDeXmlReadReport report = vorn::TKxDeDocumentFile::LoadLayersFromFile(FileName, Layers, Settings);
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

// The document file reader. Whatever it accepts must save, and from then on saving and loading
// must change nothing: the second reading skips nothing and writes the same text.

#include "FuzzSupport.h"

#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeLayer.h>

#include <QBuffer>

using namespace vorn;

namespace {

struct TLoaded {
  TKxDeLayerList Layers;
  TKxDeDocumentSettings Settings;
  ~TLoaded() {
    for (TKxDeLayer*& l : Layers) Free(l);
  }
};

QByteArray Save(const TLoaded& D) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  TKxDeDocumentFile::SaveLayersToStream(&buffer, D.Layers, D.Settings);
  return buffer.data();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TLoaded first;
  try {
    TKxDeDocumentFile::LoadLayersFromText(fuzz::Bytes(Data, Size), first.Layers, first.Settings);
  } catch (const EKxDeDocumentError&) {
    if (!first.Layers.empty()) fuzz::Fail("a refused document left layers behind");
    return 0;
  }
  const QByteArray saved = Save(first);
  TLoaded second;
  TKxDeXmlReadReport report;
  try {
    report = TKxDeDocumentFile::LoadLayersFromText(saved, second.Layers, second.Settings);
  } catch (const EKxDeDocumentError& e) {
    fuzz::Fail("a saved document does not load again", saved, e.what());
  }
  if (report.ObjectsSkipped != 0)
    fuzz::Fail("a saved document loads with skips", saved, report.Messages.join('\n').toUtf8());
  const QByteArray again = Save(second);
  if (again != fuzz::WithoutSubstitutions(saved)) fuzz::Fail("saving a loaded document changes it", saved, again);
  return 0;
}

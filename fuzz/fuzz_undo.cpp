// The undo history replayed. The input is a document whose root also holds an undo history
// (<undobuf>, as the editor writes its own); its entries are replayed against the document, every
// one undone and then redone. Whatever the records say, the replay must leave a document that
// saves, and saving and loading it from then on must change nothing.

#include "FuzzSupport.h"

#include <vorn/common/XmlUtils.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeDocument.h>

using namespace vorn;

namespace {

// Enough for the seeds' sessions; a longer history only repeats the same replays.
constexpr int kMostSteps = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TXmlDocument doc;
  if (!fuzz::ParseXml(doc, Data, Size)) return 0;
  TKxDeEditor& e = fuzz::EmptyEditor();
  TKxDeLayerList layers;
  TKxDeDocumentSettings settings;
  try {
    TKxDeDocumentFile::LoadLayersFromXML(doc.document_element(), layers, settings);
  } catch (const EKxDeDocumentError&) {
    return 0;
  }
  for (TKxDeLayer* l : layers) e.InsertLayer(l);
  TXmlNode history = e.UndoBuffer();
  for (TXmlNode entry : doc.document_element().child("undobuf").children()) history.append_copy(entry);
  for (int i = 0; i < kMostSteps && e.CanUndo(); ++i) e.Undo();
  for (int i = 0; i < kMostSteps && e.CanRedo(); ++i) e.Redo();

  const QByteArray saved = fuzz::DocumentText(e.LayersList());
  TKxDeLayerList again;
  TKxDeXmlReadReport report;
  try {
    report = TKxDeDocumentFile::LoadLayersFromText(saved, again, settings);
  } catch (const EKxDeDocumentError& x) {
    fuzz::Fail("the replayed document does not load again", saved, x.what());
  }
  const QByteArray resaved = fuzz::DocumentText(again);
  for (TKxDeLayer*& l : again) Free(l);
  if (report.ObjectsSkipped != 0)
    fuzz::Fail("the replayed document loads with skips", saved, report.Messages.join('\n').toUtf8());
  if (resaved != fuzz::WithoutSubstitutions(saved)) fuzz::Fail("saving the replayed document changes it", saved, resaved);
  return 0;
}

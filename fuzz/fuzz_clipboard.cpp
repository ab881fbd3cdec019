// The editor's clipboard payload, as another process may put it under the engine's format: what
// a paste takes from it is one undo step; undoing it leaves the layer as it was, and redoing it
// brings back the same shapes.

#include "FuzzSupport.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/editor/mekClipboard.h>

using namespace vorn;

namespace {

QByteArray Text(const TKxDeEditor& E) { return fuzz::WithoutSubstitutions(fuzz::DocumentText(E.LayersList())); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TKxDeEditor& e = fuzz::EmptyEditor();
  TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&e));
  TmekClipboard* clipboard = MekClipboard();
  clipboard->SetAsHandle(clipboard->ObjectsFormat(), QByteArray(reinterpret_cast<const char*>(Data), Size));
  const QByteArray before = Text(e);
  e.PasteFromClipboard();
  if (layer->ItemCount() == 0) {
    // The paste's undo group stays as an empty entry; undoing it changes nothing.
    e.Undo();
    if (Text(e) != before) fuzz::Fail("undoing a paste that took nothing changes the layer", before, Text(e));
    return 0;
  }
  const QByteArray pasted = Text(e);
  if (e.UndoCount() != 1) fuzz::Fail("a paste is not one undo step", pasted);
  e.Undo();
  if (Text(e) != before) fuzz::Fail("undoing a paste does not give the layer back", before, Text(e));
  e.Redo();
  if (Text(e) != pasted) fuzz::Fail("redoing a paste does not give its shapes back", pasted, Text(e));
  return 0;
}

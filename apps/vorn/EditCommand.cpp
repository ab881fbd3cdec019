// vorn edit DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]: opens a document in an
// editor window, to select, move and reshape its shapes by hand; Ctrl+S saves it back. With
// --screenshot the window is drawn into a picture file instead of being shown.

#include "Commands.h"
#include "EditWindow.h"
#include "WindowCommand.h"

#include <vorn/editor/KxDeEditor.h>

#include <memory>

namespace vorncli {
namespace {

const char* const kName = "edit";

}  // namespace

int RunEdit(const QStringList& Args) {
  return RunWindowCommand(kName, Args, [](TWindowOptions& o, QString& Error) -> std::unique_ptr<QWidget> {
    auto window = std::make_unique<TEditWindow>();
    if (!window->Open(o.Document, Error)) return nullptr;
    vorn::TKxDeEditor* editor = window->Editor();
    editor->SetZoom(o.Zoom);
    editor->OnMouseWheelZoom = [editor](vorn::TObject*, int16_t Delta) { ZoomByWheel(editor, Delta); };
    const double z = editor->GetZoom();
    FitWindowSize(o, editor->Layer()->Width() * z, editor->Layer()->Height() * z, 2 * editor->Indent());
    return window;
  });
}

}  // namespace vorncli

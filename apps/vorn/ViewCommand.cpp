// vorn view DOC [--zoom PERCENT] [--size WxH] [--screenshot OUT.png]: shows a document in a
// viewer window. Ctrl + wheel zooms, the wheel and the bars scroll, and the status line names
// the shape under the pointer. With --screenshot the viewer is drawn into a picture file instead
// of being shown, which needs no display.

#include "Commands.h"
#include "DocumentIO.h"
#include "WindowCommand.h"

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/surface/KxDeViewer.h>

#include <QFileInfo>

#include <memory>

namespace vorncli {
namespace {

const char* const kName = "view";

// What the status line says about the shape under the pointer.
QString Describe(const vorn::TKxDeShapeBase* S) {
  if (!S) return QString();
  QString kind = vorn::TKxDeRegister::FindShapeDisplayName(S);
  if (kind.isEmpty()) kind = S->ClassName();
  const QString name = S->Name();
  return name.isEmpty() ? QStringLiteral("%1 #%2").arg(kind).arg(S->ID())
                        : QStringLiteral("%1 \"%2\"").arg(kind, name);
}

}  // namespace

int RunView(const QStringList& Args) {
  return RunWindowCommand(kName, Args, [](TWindowOptions& o, QString& Error) -> std::unique_ptr<QWidget> {
    LoadedDocument doc;
    if (!doc.Load(o.Document, Error)) return nullptr;
    auto viewer = std::make_unique<vorn::TKxDeViewer>();
    viewer->setWindowTitle(QStringLiteral("%1 - Vorn").arg(QFileInfo(o.Document).fileName()));
    viewer->Layer()->SetBounds(doc.Settings.PageWidth, doc.Settings.PageHeight);
    viewer->Layer()->SetColor(doc.Settings.PageColor);
    {
      vorn::TKxDeLayerList layers;
      std::swap(layers, doc.Layers);  // the viewer owns them from here on
      viewer->BeginUpdate();
      for (vorn::TKxDeLayer* layer : layers) viewer->InsertLayer(layer);
      viewer->EndUpdate();
    }
    // The document as it prints: no grid over it.
    viewer->Grid()->SetGridType(vorn::TKxDeGridType::kxgtNone);
    viewer->SetShowStatusBar(true);
    viewer->SetZoom(o.Zoom);
    vorn::TKxDeViewer* v = viewer.get();
    viewer->OnShapeMove = [v](vorn::TObject*, vorn::TKxDeShapeBase* S) { v->SetStatusText(Describe(S)); };
    viewer->OnMouseWheelZoom = [v](vorn::TObject*, int16_t Delta) { ZoomByWheel(v, Delta); };
    // Without a size given, the page at its zoom with room around it, within a usual screen.
    const double z = viewer->GetZoom();
    FitWindowSize(o, doc.Settings.PageWidth * z, doc.Settings.PageHeight * z, 2 * viewer->Indent());
    return viewer;
  });
}

}  // namespace vorncli

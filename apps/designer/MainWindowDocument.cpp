// The window's document: new, open, save, export, close, recovery copies and dropped files.

#include "MainWindow.h"

#include "Recovery.h"

#include <vorn/common/Exceptions.h>
#include <vorn/common/Units.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/inspector/mekInspector.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornDocumentRenderer.h>
#include <vorn/shapes/VornPicture.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QProgressDialog>
#include <QStatusBar>
#include <QUrl>

#include <cmath>
#include <memory>

namespace vorndesigner {
namespace {

// A progress report that shows a dialog once the work reaches From shapes, updated at each new
// per cent.
class TProgress {
 public:
  TProgress(QWidget* Parent, QString Label, int64_t From) : FParent(Parent), FLabel(std::move(Label)), FFrom(From) {}
  std::function<void(int64_t, int64_t)> Report() {
    return [this](int64_t Done, int64_t Total) {
      if (Total < FFrom) return;
      const int percent = static_cast<int>(Done >= Total ? 100 : Done * 100 / Total);
      if (percent == FLast) return;
      FLast = percent;
      if (!FDialog) {
        FDialog = std::make_unique<QProgressDialog>(FLabel, QString(), 0, 100, FParent);
        FDialog->setWindowModality(Qt::WindowModal);
        FDialog->setMinimumDuration(0);
        FDialog->setAutoClose(true);
      }
      // A modal dialog lets the window repaint while its value changes.
      FDialog->setValue(percent);
    };
  }

 private:
  QWidget* FParent;
  QString FLabel;
  int64_t FFrom;
  int FLast = -1;
  std::unique_ptr<QProgressDialog> FDialog;
};

QString OneLine(const vorn::Exception& E, const QString& FileName) {
  const QString message = E.Message().simplified();
  return message.contains(FileName) ? message : QStringLiteral("%1: %2").arg(FileName, message);
}

const QString kDocumentFilter = QObject::tr("Vorn documents (*.vorn)");

}  // namespace

void TMainWindow::WatchDocument() {
  FWatcher.reset(vorn::Create<vorn::TKxDeSurfaceClient>(static_cast<vorn::TKxDeSurface*>(FEditor)));
  // A replay reaches its position when it is over, which the editor's OnChange reports.
  auto modified = [this](vorn::TObject*, vorn::TKxDeShapeBase*) {
    if (FQuiet == 0 && !FEditor->InUndo() && !FEditor->InRedo()) UpdateModified();
  };
  FWatcher->OnShapechange = modified;
  FWatcher->OnInsertShape = modified;
  FWatcher->OnRemoveShape = modified;
  FWatcher->OnInsertLayer = modified;
  FWatcher->OnRemoveLayer = modified;
  FWatcher->OnLayerChange = modified;
  FWatcher->OnReorderShape = [modified](vorn::TObject*, vorn::TKxDeLayer*, intptr_t, intptr_t) {
    modified(nullptr, nullptr);
  };
  FWatcher->OnReorderLayer = FWatcher->OnReorderShape;
  FWatcher->OnZoom = [this](vorn::TObject*) { ShowZoom(); };
  FWatcher->OnActiveLayerChange = [this](vorn::TObject*) {
    UpdateLayerActions();
    if (FEditor->SelectionCount() == 0) SelectionChanged();
  };
}

void TMainWindow::SetModified(bool Value) {
  FChangedOffHistory = Value;
  if (!Value) FSavedPosition = FEditor->HistoryPosition();
  UpdateModified();
}

void TMainWindow::UpdateModified() {
  // Called at every change: the window hears of the marker only when it turns.
  const bool modified = FChangedOffHistory || FEditor->HistoryPosition() != FSavedPosition;
  if (modified == isWindowModified()) return;
  setWindowModified(modified);
  // Nothing to recover once the document is as its file.
  if (!modified) FRecovery->Discard();
}

void TMainWindow::SetFileName(const QString& FileName) {
  FFileName = FileName.isEmpty() ? QString() : QFileInfo(FileName).absoluteFilePath();
  UpdateTitle();
}

void TMainWindow::AdoptLayers(vorn::TKxDeLayerList& Layers, const vorn::TKxDeDocumentSettings& Settings) {
  ++FQuiet;
  FInspector->SetInspComp(nullptr);
  FEditor->SetNewShapeClass(nullptr);
  FEditor->ClearSelection();
  FEditor->BeginUpdate();
  FEditor->Clear();
  FEditor->Layer()->SetBounds(Settings.PageWidth, Settings.PageHeight);
  FEditor->Layer()->SetColor(Settings.PageColor);
  for (vorn::TKxDeLayer* layer : Layers) FEditor->InsertLayer(layer);
  Layers.clear();
  FEditor->EndUpdate();
  FEditor->Guides()->LoadFromDocument(Settings.Guides);
  // A new document starts a new history.
  FEditor->SetModified(false);
  FSettings = Settings;
  --FQuiet;
  SetModified(false);
  FEditor->ZoomToPage();
  ShowZoom();
  SelectionChanged();
  UpdateLayerActions();
}

vorn::TKxDeDocumentSettings TMainWindow::CurrentSettings() const {
  vorn::TKxDeDocumentSettings s = FSettings;
  s.PageWidth = FEditor->Layer()->Width();
  s.PageHeight = FEditor->Layer()->Height();
  s.PageColor = FEditor->Layer()->Color();
  s.Guides = FEditor->Guides()->SaveToDocument();
  return s;
}

void TMainWindow::NewDocument() {
  vorn::TKxDeDocumentSettings s;
  const float perMm = vorn::CoordsPixelsPerMMConvertValue;
  s.PageWidth = static_cast<int32_t>(std::lround(100 * perMm));
  s.PageHeight = static_cast<int32_t>(std::lround(150 * perMm));
  vorn::TKxDeLayerList layers{vorn::Create<vorn::TKxDeLayer>(nullptr)};
  layers.front()->SetName(tr("Layer 1"));
  AdoptLayers(layers, s);
  SetFileName(QString());
}

bool TMainWindow::LoadDocument(const QString& FileName, QString& Error) {
  vorn::TKxDeLayerList layers;
  vorn::TKxDeDocumentSettings settings;
  TProgress progress(this, tr("Opening %1...").arg(QFileInfo(FileName).fileName()), ProgressFrom);
  try {
    vorn::TKxDeDocumentLoadOptions options;
    options.OnProgress = progress.Report();
    vorn::TKxDeDocumentFile::LoadLayersFromFile(FileName, layers, settings, options);
  } catch (const vorn::Exception& e) {
    for (vorn::TKxDeLayer*& l : layers) vorn::Free(l);
    Error = OneLine(e, FileName);
    return false;
  }
  AdoptLayers(layers, settings);
  SetFileName(FileName);
  AddRecentFile(FileName);
  return true;
}

bool TMainWindow::SaveCopy(const QString& FileName, QString& Error) const {
  TProgress progress(const_cast<TMainWindow*>(this), tr("Saving %1...").arg(QFileInfo(FileName).fileName()),
                     ProgressFrom);
  try {
    // A new file is written beside the old one and then takes its name, so a failure keeps it.
    vorn::TKxDeDocumentFile::SaveLayersToFile(FileName, FEditor->LayersList(), CurrentSettings(), progress.Report());
  } catch (const vorn::Exception& e) {
    Error = OneLine(e, FileName);
    return false;
  }
  return true;
}

bool TMainWindow::SaveDocument(const QString& FileName, QString& Error) {
  if (!SaveCopy(FileName, Error)) return false;
  SetFileName(FileName);
  SetModified(false);
  AddRecentFile(FileName);
  return true;
}

bool TMainWindow::Export(const QString& FileName, int Dpi, QString& Error) {
  const vorn::TRectF page{0, 0, float(FEditor->Layer()->Width()), float(FEditor->Layer()->Height())};
  vorn::TVornDocumentRenderer renderer(FEditor->LayersList(), page, FEditor->Layer()->Color());
  TProgress progress(this, tr("Exporting %1...").arg(QFileInfo(FileName).fileName()), ProgressFrom);
  renderer.OnProgress = progress.Report();
  const QString suffix = QFileInfo(FileName).suffix().toLower();
  const QString title = FFileName.isEmpty() ? QString() : QFileInfo(FFileName).completeBaseName();
  try {
    if (suffix == QLatin1String("pdf")) {
      renderer.RenderPdf(FileName, Dpi > 0 ? Dpi : 1200, title);
    } else if (suffix == QLatin1String("svg")) {
      renderer.RenderSvg(FileName, title);
    } else {
      const QImage image = renderer.RenderImage(vorn::TVornDocumentRenderer::ZoomForDpi(Dpi > 0 ? Dpi : 300));
      if (!image.save(FileName)) {
        Error = tr("%1: cannot be written as an image").arg(FileName);
        return false;
      }
    }
  } catch (const vorn::Exception& e) {
    Error = OneLine(e, FileName);
    return false;
  }
  return true;
}

bool TMainWindow::Open(const QString& FileName) {
  QString error;
  if (LoadDocument(FileName, error)) return true;
  Prompts.ShowError(tr("Open"), tr("The document cannot be opened. %1").arg(error));
  // A file that is gone leaves the recent list.
  if (!QFileInfo::exists(FileName) && FRecent.removeAll(QFileInfo(FileName).absoluteFilePath()) > 0) UpdateRecentMenu();
  return false;
}

bool TMainWindow::OpenWithDialog() {
  if (!MaybeSave()) return false;
  const QString f = Prompts.AskFileName(tr("Open"), kDocumentFilter, false);
  return !f.isEmpty() && Open(f);
}

bool TMainWindow::Save() {
  if (FFileName.isEmpty()) return SaveAs();
  QString error;
  if (SaveDocument(FFileName, error)) return true;
  Prompts.ShowError(tr("Save"), tr("The document was not saved. %1").arg(error));
  return false;
}

bool TMainWindow::SaveAs() {
  QString f = Prompts.AskFileName(tr("Save As"), kDocumentFilter, true);
  if (f.isEmpty()) return false;
  if (QFileInfo(f).suffix().isEmpty()) f += QStringLiteral(".vorn");
  QString error;
  if (SaveDocument(f, error)) return true;
  Prompts.ShowError(tr("Save As"), tr("The document was not saved. %1").arg(error));
  return false;
}

bool TMainWindow::ExportWithDialog(const QString& Format) {
  const QString upper = Format.toUpper();
  QString f = Prompts.AskFileName(tr("Export %1").arg(upper), tr("%1 files (*.%2)").arg(upper, Format), true);
  if (f.isEmpty()) return false;
  if (QFileInfo(f).suffix().isEmpty()) f += QLatin1Char('.') + Format;
  int dpi = 0;
  if (Format != QLatin1String("svg") && (dpi = Prompts.AskDpi(upper, Format == QLatin1String("pdf") ? 1200 : 300)) == 0)
    return false;
  QString error;
  if (Export(f, dpi, error)) return true;
  Prompts.ShowError(tr("Export"), tr("The export failed. %1").arg(error));
  return false;
}

bool TMainWindow::MaybeSave() {
  if (!Modified()) return true;
  const QString name = FFileName.isEmpty() ? tr("Untitled") : QFileInfo(FFileName).fileName();
  switch (Prompts.AskSave(name)) {
    case QMessageBox::Save:
      return Save();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool TMainWindow::CloseDocument() {
  if (!MaybeSave()) return false;
  NewDocument();
  return true;
}

bool TMainWindow::Autosave() {
  if (!Modified()) return false;
  QString error;
  if (FRecovery->Write(FEditor->LayersList(), CurrentSettings(), FFileName, error)) return true;
  statusBar()->showMessage(tr("The recovery copy was not written: %1").arg(error), 10000);
  return false;
}

bool TMainWindow::OfferRecovery() {
  for (const TRecoveryCopy& c : TRecovery::Orphans()) {
    if (!Prompts.AskRestore(c.Document, c.Time)) {
      TRecovery::Remove(c.CopyFile);
      continue;
    }
    QString error;
    if (!LoadDocument(c.CopyFile, error)) {
      Prompts.ShowError(tr("Restore"), tr("The recovery copy cannot be read. %1").arg(error));
      continue;
    }
    // The restored document is the one the copy was made of, with its changes not yet saved.
    FRecent.removeAll(QFileInfo(c.CopyFile).absoluteFilePath());
    UpdateRecentMenu();
    SetFileName(c.Document);
    TRecovery::Remove(c.CopyFile);
    SetModified(true);
    return true;
  }
  return false;
}

void TMainWindow::AddRecentFile(const QString& FileName) {
  const QString f = QFileInfo(FileName).absoluteFilePath();
  FRecent.removeAll(f);
  FRecent.prepend(f);
  while (FRecent.size() > 10) FRecent.removeLast();
  UpdateRecentMenu();
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* Event) {
  if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* Event) {
  const QPoint at = FEditor->mapFrom(this, Event->position().toPoint());
  DropFiles(Event->mimeData()->urls(), &at);
  Event->acceptProposedAction();
}

void TMainWindow::DropFiles(const QList<QUrl>& Urls, const QPoint* At) {
  QPointF pos = At ? QPointF(*At) : QPointF(FEditor->width() / 2.0, FEditor->height() / 2.0);
  for (const QUrl& url : Urls) {
    const QString f = url.toLocalFile();
    if (f.isEmpty()) continue;
    if (QFileInfo(f).suffix().compare(QLatin1String("vorn"), Qt::CaseInsensitive) == 0) {
      if (MaybeSave()) Open(f);
      continue;
    }
    vorn::TKxDeLayer* layer = FEditor->GetActiveLayer();
    if (!layer) continue;
    auto* picture = vorn::Create<vorn::TVornPicture>(nullptr, nullptr);
    try {
      picture->LoadPicture(f);
    } catch (const vorn::Exception& e) {
      vorn::Free(picture);
      Prompts.ShowError(tr("Drop"), tr("The picture cannot be read. %1").arg(OneLine(e, f)));
      continue;
    }
    // Its natural size at the screen's resolution, no larger than half the page.
    QSizeF size = QImageReader(f).size();
    if (!size.isValid() || size.isEmpty()) size = QSizeF(100, 100);
    const QSizeF most(FEditor->Layer()->Width() / 2.0, FEditor->Layer()->Height() / 2.0);
    if (size.width() > most.width() || size.height() > most.height()) size.scale(most, Qt::KeepAspectRatio);
    const vorn::TPointF w = FEditor->ScreenToLayer(vorn::TPointF{float(pos.x()), float(pos.y())});
    picture->SetBounds(w.X, w.Y, float(size.width()), float(size.height()));
    FEditor->BeginUndoGroup();
    layer->Add(picture);
    FEditor->EndUndoGroup();
    FEditor->Select(picture);
    pos += QPointF(12, 12);
  }
}

}  // namespace vorndesigner

#include "EditWindow.h"

#include <vorn/common/Exceptions.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace vorncli {

TEditWindow::TEditWindow() : FEditor(new vorn::TKxDeEditor(this)), FSaveAction(new QAction(tr("&Save"), this)) {
  setCentralWidget(FEditor);
  FEditor->SetShowStatusBar(true);
  FEditor->OnSelectionChange = [this](vorn::TObject*) { ShowSelection(); };
  FSaveAction->setShortcut(QKeySequence::Save);
  FSaveAction->setShortcutContext(Qt::WindowShortcut);
  connect(FSaveAction, &QAction::triggered, this, [this] { SaveWithMessage(); });
  addAction(FSaveAction);
  FEditor->setFocus();
}

TEditWindow::~TEditWindow() {
  // The watcher leaves the editor before the editor goes with the window.
  FWatcher.reset();
}

bool TEditWindow::Open(const QString& FileName, QString& Error) {
  vorn::RegisterVornShapes();
  vorn::TKxDeLayerList layers;
  vorn::TKxDeDocumentSettings settings;
  try {
    vorn::TKxDeDocumentFile::LoadLayersFromFile(FileName, layers, settings);
  } catch (const vorn::Exception& e) {
    const QString message = e.Message().simplified();
    Error = message.contains(FileName) ? message : QStringLiteral("%1: %2").arg(FileName, message);
    return false;
  }
  FWatcher.reset();
  FEditor->ClearSelection();
  FEditor->BeginUpdate();
  FEditor->Clear();
  FEditor->Layer()->SetBounds(settings.PageWidth, settings.PageHeight);
  FEditor->Layer()->SetColor(settings.PageColor);
  for (vorn::TKxDeLayer* layer : layers) FEditor->InsertLayer(layer);
  FEditor->EndUpdate();
  FEditor->Guides()->LoadFromDocument(settings.Guides);
  FFileName = FileName;
  FSettings = std::move(settings);
  // Every change of the document from here on is one to save.
  FWatcher.reset(vorn::Create<vorn::TKxDeSurfaceClient>(static_cast<vorn::TKxDeSurface*>(FEditor)));
  auto modified = [this](vorn::TObject*, vorn::TKxDeShapeBase*) { setWindowModified(true); };
  FWatcher->OnShapechange = modified;
  FWatcher->OnInsertShape = modified;
  FWatcher->OnRemoveShape = modified;
  FWatcher->OnInsertLayer = modified;
  FWatcher->OnRemoveLayer = modified;
  FWatcher->OnReorderShape = [this](vorn::TObject*, vorn::TKxDeLayer*, intptr_t, intptr_t) { setWindowModified(true); };
  // Guides are saved with the document.
  FEditor->OnGuideChange = [this](vorn::TObject*) { setWindowModified(true); };
  setWindowModified(false);
  setWindowTitle(QStringLiteral("%1[*] - Vorn").arg(QFileInfo(FileName).fileName()));
  ShowSelection();
  return true;
}

bool TEditWindow::Save(QString& Error) {
  vorn::TKxDeDocumentSettings settings = FSettings;
  settings.PageWidth = FEditor->Layer()->Width();
  settings.PageHeight = FEditor->Layer()->Height();
  settings.Guides = FEditor->Guides()->SaveToDocument();
  try {
    vorn::TKxDeDocumentFile::SaveLayersToFile(FFileName, FEditor->LayersList(), settings);
  } catch (const vorn::Exception& e) {
    Error = QStringLiteral("%1: %2").arg(FFileName, e.Message().simplified());
    return false;
  }
  setWindowModified(false);
  return true;
}

bool TEditWindow::SaveWithMessage() {
  QString error;
  if (Save(error)) return true;
  QMessageBox::warning(this, tr("Save"), error);
  return false;
}

void TEditWindow::ShowSelection() {
  const int n = FEditor->SelectionCount();
  FEditor->SetStatusText(n == 0 ? QString() : n == 1 ? tr("1 shape selected") : tr("%1 shapes selected").arg(n));
}

void TEditWindow::closeEvent(QCloseEvent* Event) {
  if (Modified()) {
    const auto answer =
        QMessageBox::question(this, windowTitle().remove(QStringLiteral("[*]")), tr("Save the changes to the document?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !SaveWithMessage())) {
      Event->ignore();
      return;
    }
  }
  Event->accept();
}

}  // namespace vorncli

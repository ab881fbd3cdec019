// The window's menus, toolbar and the commands that are the window's own (layers, view options);
// the editor's commands come from its actions object and are placed here under names.

#include "MainWindow.h"
#include "PrintSupport.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/editor/KxDeEditorActions.h>
#include <vorn/model/KxDeLayer.h>

#include <QActionGroup>
#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

#include <set>

namespace vorndesigner {
namespace {

using vorn::TKxDeEditOption;

// An editor option as a checkable action.
void BindOption(QAction* A, vorn::TKxDeEditor* E, TKxDeEditOption O) {
  A->setCheckable(true);
  A->setChecked(E->EditOptions().Contains(O));
  QObject::connect(A, &QAction::toggled, E, [E, O](bool On) {
    vorn::TKxDeEditOptions o = E->EditOptions();
    E->SetEditOptions(On ? o + O : o - O);
  });
}

}  // namespace

QAction* TMainWindow::Add(QMenu* Menu, const char* Name, const QString& Text, const QKeySequence& Key,
                          std::function<void()> Command) {
  auto* a = new QAction(Text, this);
  a->setObjectName(QLatin1String(Name));
  a->setShortcut(Key);
  connect(a, &QAction::triggered, this, [Command = std::move(Command)] { Command(); });
  Menu->addAction(a);
  return a;
}

void TMainWindow::Place(QMenu* Menu, const char* Name, QAction* A) {
  A->setObjectName(QLatin1String(Name));
  Menu->addAction(A);
}

QAction* TMainWindow::Action(const QString& Name) const { return findChild<QAction*>(Name); }

void TMainWindow::CreateMenus() {
  vorn::TKxDeEditorActions* ea = FActions;

  // ---- File ----
  QMenu* file = menuBar()->addMenu(tr("&File"));
  Add(file, "fileNew", tr("&New"), QKeySequence::New, [this] {
    if (MaybeSave()) NewDocument();
  });
  Add(file, "fileOpen", tr("&Open..."), QKeySequence::Open, [this] { OpenWithDialog(); });
  FRecentMenu = file->addMenu(tr("Open &Recent"));
  FRecentMenu->menuAction()->setObjectName(QStringLiteral("fileRecent"));
  Add(file, "fileSave", tr("&Save"), QKeySequence::Save, [this] { Save(); });
  Add(file, "fileSaveAs", tr("Save &As..."), QKeySequence::SaveAs, [this] { SaveAs(); });
  QMenu* exports = file->addMenu(tr("&Export"));
  Add(exports, "fileExportPng", tr("&PNG Image..."), QKeySequence(), [this] { ExportWithDialog(QStringLiteral("png")); });
  Add(exports, "fileExportPdf", tr("P&DF Document..."), QKeySequence(), [this] { ExportWithDialog(QStringLiteral("pdf")); });
  Add(exports, "fileExportSvg", tr("&SVG Drawing..."), QKeySequence(), [this] { ExportWithDialog(QStringLiteral("svg")); });
  file->addSeparator();
  Add(file, "filePrintPreview", tr("Print Pre&view..."), QKeySequence(), [this] { PrintPreview(*this); });
  Add(file, "filePrint", tr("&Print..."), QKeySequence::Print, [this] { PrintWithDialog(*this); });
  Add(file, "filePrintCalibration", tr("Printer &Calibration..."), QKeySequence(), [this] { EditCalibration(*this); });
  file->addSeparator();
  Add(file, "fileClose", tr("&Close"), QKeySequence::Close, [this] { CloseDocument(); });
  Add(file, "fileQuit", tr("&Quit"), QKeySequence::Quit, [this] { close(); });

  // ---- Edit ----
  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  Place(edit, "editUndo", ea->UndoAction());
  Place(edit, "editRedo", ea->RedoAction());
  edit->addSeparator();
  // The clipboard's shortcuts stay with the field that has the focus when it is not the editor.
  for (QAction* a : {Add(edit, "editCut", tr("Cu&t"), QKeySequence::Cut, [this] { FEditor->CutToClipboard(); }),
                     Add(edit, "editCopy", tr("&Copy"), QKeySequence::Copy, [this] { FEditor->CopyToClipboard(); }),
                     Add(edit, "editPaste", tr("&Paste"), QKeySequence::Paste, [this] { FEditor->PasteFromClipboard(); })}) {
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    FEditor->addAction(a);
  }
  Place(edit, "editDelete", ea->DeleteAction());
  Place(edit, "editSelectAll", ea->SelectAllAction());
  edit->addSeparator();
  Place(edit, "editGroup", ea->GroupAction());
  Place(edit, "editUngroup", ea->UngroupAction());
  Place(edit, "editPack", ea->PackAction());
  Place(edit, "editUnpack", ea->UnpackAction());
  edit->addSeparator();
  QMenu* order = edit->addMenu(tr("&Arrange"));
  Place(order, "editBringToFront", ea->BringToFrontAction());
  Place(order, "editBringForward", ea->BringForwardAction());
  Place(order, "editSendBackward", ea->SendBackwardAction());
  Place(order, "editSendToBack", ea->SendToBackAction());
  QMenu* align = edit->addMenu(tr("A&lign and Distribute"));
  align->menuAction()->setObjectName(QStringLiteral("editAlign"));
  for (int i = 0; i < 6; ++i) align->addAction(ea->AlignAction(static_cast<vorn::TKxDeAlignment>(i)));
  align->addSeparator();
  for (int i = 0; i < 4; ++i) align->addAction(ea->DistributeAction(static_cast<vorn::TKxDeDistribution>(i)));
  align->addSeparator();
  for (int i = 0; i < 3; ++i) align->addAction(ea->AlignReferenceAction(static_cast<vorn::TKxDeAlignReference>(i)));
  QMenu* nudge = edit->addMenu(tr("&Nudge"));
  Place(nudge, "editNudgeLeft", ea->NudgeLeftAction());
  Place(nudge, "editNudgeRight", ea->NudgeRightAction());
  Place(nudge, "editNudgeUp", ea->NudgeUpAction());
  Place(nudge, "editNudgeDown", ea->NudgeDownAction());

  // ---- View ----
  QMenu* view = FViewMenu = menuBar()->addMenu(tr("&View"));
  Place(view, "viewZoomIn", ea->ZoomInAction());
  Place(view, "viewZoomOut", ea->ZoomOutAction());
  Place(view, "viewZoom100", ea->ZoomOneToOneAction());
  Place(view, "viewFitPage", ea->ZoomToPageAction());
  Place(view, "viewFitSelection", ea->ZoomToSelectionAction());
  view->addSeparator();
  QAction* rulers = Add(view, "viewRulers", tr("&Rulers"), QKeySequence(Qt::CTRL | Qt::Key_R),
                        [this] { FEditor->Rulers()->SetVisible(Action(QStringLiteral("viewRulers"))->isChecked()); });
  rulers->setCheckable(true);
  rulers->setChecked(FEditor->Rulers()->Visible());
  QMenu* units = view->addMenu(tr("Ruler &Units"));
  auto* unitGroup = new QActionGroup(this);
  const std::pair<const char*, QString> unitNames[] = {
      {"viewUnitPixel", tr("&Pixels")}, {"viewUnitCm", tr("&Centimetres")}, {"viewUnitInch", tr("&Inches")}};
  for (int mode = 0; mode < 3; ++mode) {
    QAction* a = Add(units, unitNames[mode].first, unitNames[mode].second, QKeySequence(), [this, mode] { SetRulerUnit(mode); });
    a->setCheckable(true);
    unitGroup->addAction(a);
  }
  QAction* grid = Add(view, "viewGrid", tr("&Grid"), QKeySequence(Qt::CTRL | Qt::Key_Apostrophe), [this] {
    const bool on = Action(QStringLiteral("viewGrid"))->isChecked();
    FEditor->Grid()->SetGridType(on ? vorn::TKxDeGridType::kxgtLine : vorn::TKxDeGridType::kxgtNone);
  });
  grid->setCheckable(true);
  grid->setChecked(FEditor->Grid()->GridType() != vorn::TKxDeGridType::kxgtNone);
  BindOption(Add(view, "viewSnap", tr("&Snap to Grid"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Apostrophe), [] {}),
             FEditor, TKxDeEditOption::kxdoSnapToGrid);
  BindOption(Add(view, "viewGuides", tr("G&uides"), QKeySequence(Qt::CTRL | Qt::Key_Semicolon), [] {}), FEditor,
             TKxDeEditOption::kxdoShowGuides);
  BindOption(Add(view, "viewCursorGuide", tr("&Cursor Guide"), QKeySequence(), [] {}), FEditor,
             TKxDeEditOption::kxdoShowCursorGuide);
  QAction* smart = Add(view, "viewSmartGuides", tr("S&mart Guides"), QKeySequence(), [this] {
    FEditor->SmartGuides()->SetEnabled(Action(QStringLiteral("viewSmartGuides"))->isChecked());
  });
  smart->setCheckable(true);
  smart->setChecked(FEditor->SmartGuides()->Enabled());
  view->addSeparator();
  for (QDockWidget* d : findChildren<QDockWidget*>()) view->addAction(d->toggleViewAction());

  // ---- Layer ----
  QMenu* layer = menuBar()->addMenu(tr("&Layer"));
  Add(layer, "layerNew", tr("&New Layer"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), [this] { NewLayer(); });
  Add(layer, "layerDelete", tr("&Delete Layer"), QKeySequence(), [this] { DeleteLayer(); });
  Add(layer, "layerRename", tr("&Rename Layer..."), QKeySequence(Qt::Key_F2), [this] { RenameLayer(); });
  layer->addSeparator();
  auto toggle = [&](const char* Name, const QString& Text, std::function<void(vorn::TKxDeLayer*, bool)> Set) {
    QAction* a = Add(layer, Name, Text, QKeySequence(), [] {});
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, Set = std::move(Set)](bool On) {
      if (vorn::TKxDeLayer* l = FEditor->ActiveLayer()) Set(l, On);
      UpdateLayerActions();
    });
  };
  toggle("layerVisible", tr("&Visible"), [](vorn::TKxDeLayer* L, bool On) { L->SetVisible(On); });
  toggle("layerLocked", tr("&Locked"), [](vorn::TKxDeLayer* L, bool On) { L->SetLocked(On); });
  toggle("layerPrintable", tr("&Printable"), [](vorn::TKxDeLayer* L, bool On) { L->SetPrintingAllowed(On); });
  connect(layer, &QMenu::aboutToShow, this, [this] { UpdateLayerActions(); });

  // Commands the editor gains beyond those placed above join the Edit menu as they come.
  std::set<QAction*> known;
  for (QMenu* m : {edit, order, align, nudge, view}) {
    const QList<QAction*> list = m->actions();
    known.insert(list.begin(), list.end());
  }
  for (QAction* a : ea->Actions())
    if (!a->isSeparator() && !known.count(a)) edit->addAction(a);

  // ---- Toolbar ----
  QToolBar* bar = addToolBar(tr("Main"));
  bar->setObjectName(QStringLiteral("mainToolBar"));
  const std::pair<const char*, QStyle::StandardPixmap> icons[] = {
      {"fileNew", QStyle::SP_FileIcon}, {"fileOpen", QStyle::SP_DialogOpenButton},
      {"fileSave", QStyle::SP_DialogSaveButton}, {"editUndo", QStyle::SP_ArrowBack}, {"editRedo", QStyle::SP_ArrowForward}};
  for (const auto& [name, icon] : icons) {
    QAction* a = Action(QLatin1String(name));
    a->setIcon(style()->standardIcon(icon));
    bar->addAction(a);
    if (a->objectName() == QLatin1String("fileSave")) bar->addSeparator();
  }
  bar->addSeparator();
  for (const char* name : {"viewZoomOut", "viewZoom100", "viewZoomIn", "viewFitPage"}) bar->addAction(Action(QLatin1String(name)));
  view->addAction(bar->toggleViewAction());

  UpdateClipboardActions();
}

void TMainWindow::UpdateRecentMenu() {
  FRecentMenu->clear();
  for (const QString& f : FRecent) {
    QAction* a = FRecentMenu->addAction(QFileInfo(f).fileName(), this, [this, f] {
      if (MaybeSave()) Open(f);
    });
    a->setToolTip(f);
    a->setStatusTip(f);
  }
  FRecentMenu->setEnabled(!FRecent.isEmpty());
}

void TMainWindow::UpdateClipboardActions() {
  const bool selection = FEditor->SelectionCount() > 0;
  Action(QStringLiteral("editCut"))->setEnabled(selection);
  Action(QStringLiteral("editCopy"))->setEnabled(selection);
  Action(QStringLiteral("editPaste"))->setEnabled(FEditor->HasClipboardData());
}

void TMainWindow::UpdateLayerActions() {
  vorn::TKxDeLayer* l = FEditor->ActiveLayer();
  for (const char* name : {"layerDelete", "layerRename", "layerVisible", "layerLocked", "layerPrintable"})
    Action(QLatin1String(name))->setEnabled(l != nullptr);
  if (!l) return;
  Action(QStringLiteral("layerDelete"))->setEnabled(FEditor->LayerCount() > 1);
  Action(QStringLiteral("layerVisible"))->setChecked(l->Visible());
  Action(QStringLiteral("layerLocked"))->setChecked(l->Locked());
  Action(QStringLiteral("layerPrintable"))->setChecked(l->PrintingAllowed());
}

void TMainWindow::SetRulerUnit(int Mode) {
  if (Mode < 0 || Mode > 2) Mode = int(vorn::TKxDeRulerMode::kxrmCm);
  FEditor->Rulers()->SetMode(static_cast<vorn::TKxDeRulerMode>(Mode));
  const char* names[] = {"viewUnitPixel", "viewUnitCm", "viewUnitInch"};
  Action(QLatin1String(names[Mode]))->setChecked(true);
}

void TMainWindow::NewLayer() {
  auto* l = vorn::Create<vorn::TKxDeLayer>(static_cast<vorn::TKxDeSurface*>(FEditor));
  l->SetName(tr("Layer %1").arg(FEditor->LayerCount()));
  FEditor->SetActiveLayer(l);
  UpdateLayerActions();
}

void TMainWindow::DeleteLayer() {
  vorn::TKxDeLayer* l = FEditor->ActiveLayer();
  // A document keeps one layer to draw on.
  if (!l || FEditor->LayerCount() < 2) return;
  if (l->ItemCount() > 0 &&
      QMessageBox::question(this, tr("Delete Layer"),
                            tr("The layer \"%1\" holds %n shape(s). Delete it with them?", nullptr, l->ItemCount())
                                .arg(l->Name())) != QMessageBox::Yes)
    return;
  FEditor->ClearSelection();
  FEditor->Remove(l);
  UpdateLayerActions();
}

void TMainWindow::RenameLayer() {
  vorn::TKxDeLayer* l = FEditor->ActiveLayer();
  if (!l) return;
  bool ok = false;
  const QString name = QInputDialog::getText(this, tr("Rename Layer"), tr("Name:"), QLineEdit::Normal, l->Name(), &ok);
  if (ok) l->SetName(name.trimmed());
}

}  // namespace vorndesigner

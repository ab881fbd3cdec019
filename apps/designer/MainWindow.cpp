#include "MainWindow.h"

#include "Recovery.h"
#include "Toolbox.h"

#include <vorn/common/Units.h>
#include <vorn/editor/KxDeEditor.h>
#include <vorn/editor/KxDeEditorActions.h>
#include <vorn/inspector/mekInspector.h>
#include <vorn/layermanager/KxDeLayerManager.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeRegister.h>
#include <vorn/shapes/VornShapes.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace vorndesigner {
namespace {

// The View menu's switches that persist, by action name; each is stored as "view/" and the name
// without its "view".
constexpr const char* kViewSwitches[] = {"viewRulers", "viewGrid", "viewSnap", "viewGuides", "viewCursorGuide",
                                         "viewSmartGuides"};

QString SwitchKey(const char* Name) { return QStringLiteral("view/") + QLatin1String(Name + 4); }

}  // namespace

TMainWindow::TMainWindow(QWidget* Parent)
    : QMainWindow(Parent), FEditor(new vorn::TKxDeEditor(this)), FRecovery(std::make_unique<TRecovery>()) {
  setObjectName(QStringLiteral("VornDesigner"));
  setAcceptDrops(true);
  setCentralWidget(FEditor);
  // What people expect of a drawing program: the wheel with Ctrl zooms at the pointer, the snap
  // follows the grid, guides and the cross-hair can be switched on in the View menu.
  FEditor->SetWheelZoom(true);
  // Arrow keys take ten steps with Shift and a screen pixel with Alt; copies reach other programs
  // as pictures, and their pictures paste as picture shapes.
  FEditor->SetNudgeSteps(true);
  FEditor->SetClipboardPictures(true);
  FEditor->SetPictureShapeClass(vorn::ClassOf<vorn::TVornPicture>());
  // New text starts in a font this machine has (the application's own), so that what is drawn is
  // what is saved.
  FEditor->DefaultFont()->SetName(QFontInfo(QApplication::font()).family());
  FEditor->SetEditOptions(FEditor->EditOptions() + vorn::TKxDeEditOption::kxdoShowGuides);
  FEditor->OnSelectionChange = [this](vorn::TObject*) { SelectionChanged(); };
  FEditor->OnCursorMove = [this](vorn::TObject*, vorn::TPointF P, float) { ShowPointer(P); };
  FEditor->OnGuideChange = [this](vorn::TObject*) {
    if (FQuiet == 0) SetModified(true);
  };
  FEditor->OnChange = [this](vorn::TObject*) {
    if (FQuiet == 0 && !FEditor->InUndo() && !FEditor->InRedo()) UpdateModified();
  };
  FEditor->OnClipboardChange = [this](vorn::TObject*) { UpdateClipboardActions(); };
  FEditor->OnNewShapeClass = [this](vorn::TObject*) {
    if (FToolbox) FToolbox->Follow();
  };
  FEditor->OnEditStateChange = [this](vorn::TObject*) {
    if (FToolbox) FToolbox->Follow();
  };
  FActions = new vorn::TKxDeEditorActions(FEditor);
  FEditor->installEventFilter(this);
  vorn::RegisterVornShapes();

  Prompts.AskSave = [this](const QString& Document) {
    return QMessageBox::question(this, tr("Vorn Designer"),
                                 tr("The document \"%1\" has changes that are not saved. Save them?").arg(Document),
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  };
  Prompts.AskFileName = [this](const QString& Caption, const QString& Filter, bool Saving) {
    const QString dir = FFileName.isEmpty() ? QString() : QFileInfo(FFileName).absolutePath();
    return Saving ? QFileDialog::getSaveFileName(this, Caption, dir, Filter)
                  : QFileDialog::getOpenFileName(this, Caption, dir, Filter);
  };
  Prompts.AskDpi = [this](const QString& Format, int Suggested) {
    bool ok = false;
    const int dpi = QInputDialog::getInt(this, tr("Export %1").arg(Format), tr("Resolution (dots per inch):"),
                                         Suggested, 24, 2400, 1, &ok);
    return ok ? dpi : 0;
  };
  Prompts.ShowError = [this](const QString& Title, const QString& Text) { QMessageBox::warning(this, Title, Text); };
  Prompts.AskRestore = [this](const QString& Document, const QDateTime& Time) {
    const QString what = Document.isEmpty() ? tr("an unsaved document") : QFileInfo(Document).fileName();
    return QMessageBox::question(this, tr("Vorn Designer"),
                                 tr("The designer did not end normally. A recovery copy of %1 from %2 is there. "
                                    "Restore it?")
                                     .arg(what, QLocale().toString(Time, QLocale::ShortFormat)),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
  };

  CreateDocks();
  CreateMenus();
  CreateStatusBar();
  WatchDocument();
  NewDocument();
  ReadSettings();

  FAutosave.setInterval(60 * 1000);
  connect(&FAutosave, &QTimer::timeout, this, [this] { Autosave(); });
  FAutosave.start();
  FEditor->setFocus();
}

TMainWindow::~TMainWindow() {
  // The watcher and the parts that follow the editor leave it before it goes with the window.
  FWatcher.reset();
  FEditor->OnChange = nullptr;
  FInspector->SetInspComp(nullptr);
  FLayerManager->SetEditor(nullptr);
}

void TMainWindow::CreateDocks() {
  auto dock = [this](const QString& Title, const char* Name, QWidget* W, Qt::DockWidgetArea Area) {
    auto* d = new QDockWidget(Title, this);
    d->setObjectName(QLatin1String(Name));
    d->setWidget(W);
    addDockWidget(Area, d);
    return d;
  };
  FToolbox = new TToolbox(FEditor);
  auto* scroller = new QScrollArea;
  scroller->setWidget(FToolbox);
  scroller->setWidgetResizable(true);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setMinimumWidth(FToolbox->sizeHint().width() + 8);
  dock(tr("Shapes"), "toolboxDock", scroller, Qt::LeftDockWidgetArea);

  FLayerManager = new vorn::TKxDeLayerManager;
  FLayerManager->SetEditor(FEditor);
  FLayerManager->SetShowPreview(false);
  QDockWidget* layers = dock(tr("Layers"), "layersDock", FLayerManager, Qt::RightDockWidgetArea);

  FInspector = new vorn::TmekInspector;
  FInspector->setMinimumWidth(260);
  QDockWidget* properties = dock(tr("Properties"), "inspectorDock", FInspector, Qt::RightDockWidgetArea);
  // The layer list gets room for a dozen rows; the inspector the rest. Where they meet is the
  // user's to move: neither asks for room by what it shows, each keeps a least height of its own.
  FLayerManager->setMinimumHeight(100);
  FInspector->setMinimumHeight(140);
  for (QWidget* w : {static_cast<QWidget*>(FLayerManager), static_cast<QWidget*>(FInspector)})
    w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
}

void TMainWindow::CreateStatusBar() {
  FSelectionLabel = new QLabel(this);
  FPointerLabel = new QLabel(this);
  FZoomLabel = new QLabel(this);
  for (QLabel* l : {FPointerLabel, FZoomLabel}) {
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("X 0000.00 mm  Y 0000.00 mm")) / (l == FZoomLabel ? 2 : 1));
    statusBar()->addPermanentWidget(l);
  }
  statusBar()->addWidget(FSelectionLabel, 1);
}

QString TMainWindow::PointerText() const { return FPointerLabel->text(); }
QString TMainWindow::ZoomText() const { return FZoomLabel->text(); }
QString TMainWindow::SelectionText() const { return FSelectionLabel->text(); }

void TMainWindow::ShowPointer(const vorn::TPointF& World) {
  // World units to the unit the rulers count in.
  double x = World.X, y = World.Y;
  QString unit = tr("px");
  int decimals = 0;
  const double perMm = vorn::CoordsPixelsPerMMConvertValue;
  switch (FEditor->Rulers()->Mode()) {
    case vorn::TKxDeRulerMode::kxrmPixel:
      break;
    case vorn::TKxDeRulerMode::kxrmCm:
      x /= perMm * 10, y /= perMm * 10, unit = tr("cm"), decimals = 2;
      break;
    case vorn::TKxDeRulerMode::kxrmInch:
      x /= perMm * 25.4, y /= perMm * 25.4, unit = tr("in"), decimals = 2;
      break;
  }
  const QLocale l;
  FPointerLabel->setText(
      tr("X %1 %3  Y %2 %3").arg(l.toString(x, 'f', decimals), l.toString(y, 'f', decimals), unit));
}

void TMainWindow::ShowZoom() { FZoomLabel->setText(tr("Zoom %1 %").arg(FEditor->Zoom())); }

void TMainWindow::SelectionChanged() {
  const int n = FEditor->SelectionCount();
  FSelectionLabel->setText(n == 0 ? tr("No selection") : n == 1 ? tr("1 shape selected") : tr("%1 shapes selected").arg(n));
  // The inspector shows the one selected shape; with none, the active layer.
  if (n == 1)
    FInspector->SetInspComp(FEditor->GetSelection(0));
  else
    FInspector->SetInspComp(n == 0 ? static_cast<vorn::TObject*>(FEditor->GetActiveLayer()) : nullptr);
  UpdateClipboardActions();
}

void TMainWindow::UpdateTitle() {
  const QString name = FFileName.isEmpty() ? tr("Untitled") : QFileInfo(FFileName).fileName();
  setWindowTitle(tr("%1[*] - Vorn Designer").arg(name));
}

void TMainWindow::ReadSettings() {
  QSettings s;
  restoreGeometry(s.value(QStringLiteral("window/geometry")).toByteArray());
  restoreState(s.value(QStringLiteral("window/state")).toByteArray());
  if (!s.contains(QStringLiteral("window/geometry"))) resize(1280, 860);
  if (!s.contains(QStringLiteral("window/state"))) {
    // Sizes given before the window is laid out are lost: they are given once it has been.
    QTimer::singleShot(0, this, [this] {
      resizeDocks({findChild<QDockWidget*>(QStringLiteral("layersDock")),
                   findChild<QDockWidget*>(QStringLiteral("inspectorDock"))},
                  {260, 420}, Qt::Vertical);
    });
  }
  FRecent = s.value(QStringLiteral("recentFiles")).toStringList();
  SetRulerUnit(s.value(QStringLiteral("units"), int(vorn::TKxDeRulerMode::kxrmCm)).toInt());
  // Triggered rather than set, so that each switch reaches the editor as a click does.
  for (const char* name : kViewSwitches) {
    QAction* a = Action(QLatin1String(name));
    const QVariant on = s.value(SwitchKey(name));
    if (on.isValid() && on.toBool() != a->isChecked()) a->trigger();
  }
  UpdateRecentMenu();
}

void TMainWindow::WriteSettings() const {
  QSettings s;
  s.setValue(QStringLiteral("window/geometry"), saveGeometry());
  s.setValue(QStringLiteral("window/state"), saveState());
  s.setValue(QStringLiteral("recentFiles"), FRecent);
  s.setValue(QStringLiteral("units"), int(FEditor->Rulers()->Mode()));
  for (const char* name : kViewSwitches) s.setValue(SwitchKey(name), Action(QLatin1String(name))->isChecked());
}

bool TMainWindow::eventFilter(QObject* Watched, QEvent* Event) {
  const bool button = Event->type() == QEvent::MouseButtonPress || Event->type() == QEvent::MouseButtonRelease;
  if (button && Watched == FEditor && FEditor->EditState() == vorn::TKxDeEditState::kxesCreateNew) {
    const auto* m = static_cast<QMouseEvent*>(Event);
    if (Event->type() == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) {
      FPressAt = m->position().toPoint();
    } else if (Event->type() == QEvent::MouseButtonRelease && m->button() == Qt::LeftButton) {
      const bool dragged = (m->position().toPoint() - FPressAt).manhattanLength() >= QApplication::startDragDistance();
      // The editor handles the release first; a box still open afterwards is finished here.
      FEditor->removeEventFilter(this);
      QApplication::sendEvent(FEditor, Event);
      FEditor->installEventFilter(this);
      vorn::TKxDeShapeBase* s = FEditor->NewShape();
      if (dragged && s && s->GetShapeType() == vorn::TKxShapeType::kxtyRectangle) FEditor->EndNewShape();
      return true;
    }
  }
  return QMainWindow::eventFilter(Watched, Event);
}

void TMainWindow::closeEvent(QCloseEvent* Event) {
  if (!MaybeSave()) {
    Event->ignore();
    return;
  }
  WriteSettings();
  FRecovery->Discard();
  Event->accept();
}

}  // namespace vorndesigner

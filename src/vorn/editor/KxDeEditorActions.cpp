// The editor's commands as actions, enabled by what they can do.

#include "vorn/editor/KxDeEditorActions.h"

#include "vorn/common/Rounding.h"
#include "vorn/editor/KxDeEditor.h"

#include <QActionGroup>

namespace vorn {

namespace {

// Hears the document changes that can make a command act differently (a shape inserted above
// the selection, a reorder, a lock) and hands them on.
class TActionsClient : public TKxDeSurfaceClient {
 public:
  using TKxDeSurfaceClient::TKxDeSurfaceClient;
  std::function<void()> OnAny;
  void DoInsertShape(TKxDeShapeBase*) override { OnAny(); }
  void DoRemoveShape(TKxDeShapeBase*) override { OnAny(); }
  void DoShapeChange(TKxDeShapeBase*) override { OnAny(); }
  void DoLayerChange(TKxDeLayer*) override { OnAny(); }
  void DoReorderShape(TKxDeLayer*, intptr_t, intptr_t) override { OnAny(); }

 protected:
  ~TActionsClient() override = default;
};

}  // namespace

TKxDeEditorActions::TKxDeEditorActions(TKxDeCustomEditor* Editor, QObject* Parent)
    : QObject(Parent ? Parent : Editor), FEditor(Editor) {
  using E = TKxDeCustomEditor;
  FUndo = Make(tr("Undo"), QKeySequence::Undo, &E::Undo);
  FRedo = Make(tr("Redo"), QKeySequence::Redo, &E::Redo);
  Separator();
  FDelete = Make(tr("Delete"), QKeySequence::Delete, &E::DeleteSelection);
  FSelectAll = Make(tr("Select all"), QKeySequence::SelectAll, &E::SelectAll);
  Separator();
  FGroup = Make(tr("Group"), QKeySequence(Qt::CTRL | Qt::Key_G), [](E* Ed) { Ed->GroupSelection(); });
  FUngroup = Make(tr("Ungroup"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), &E::UngroupSelection);
  FPack = Make(tr("Pack"), QKeySequence(Qt::CTRL | Qt::Key_K), [](E* Ed) { Ed->PackSelection(); });
  FUnpack = Make(tr("Unpack"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), &E::UnpackSelection);
  Separator();
  FBringToFront = Make(tr("Bring to front"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight),
                       [](E* Ed) { Ed->BringToFront(); });
  FBringForward =
      Make(tr("Bring forward"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight), [](E* Ed) { Ed->BringForward(); });
  FSendBackward =
      Make(tr("Send backward"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), [](E* Ed) { Ed->SendBackward(); });
  FSendToBack = Make(tr("Send to back"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft),
                     [](E* Ed) { Ed->SendToBack(); });
  Separator();
  const std::pair<QString, int> nudges[4] = {{tr("Nudge left"), Qt::Key_Left},
                                             {tr("Nudge right"), Qt::Key_Right},
                                             {tr("Nudge up"), Qt::Key_Up},
                                             {tr("Nudge down"), Qt::Key_Down}};
  for (int i = 0; i < 4; ++i) {
    const int key = nudges[i].second;
    FNudge[i] = Make(nudges[i].first, QKeySequence(key), [key](E* Ed) {
      int32_t k = key;
      Ed->KeyDown(k, TShiftState{});
    });
  }
  Separator();
  // Zoom in and out by a quarter, about the centre of the view.
  auto zoomBy = [](double Factor) {
    return [Factor](E* Ed) {
      const TRect c = Ed->GetClientRect();
      Ed->ZoomAt(Round32(Ed->Zoom() * Factor),
                 TPointF{float(c.Left + c.Width() / 2.0), float(c.Top + c.Height() / 2.0)});
    };
  };
  FZoomIn = Make(tr("Zoom in"), QKeySequence::ZoomIn, zoomBy(1.25));
  FZoomOut = Make(tr("Zoom out"), QKeySequence::ZoomOut, zoomBy(0.8));
  FZoomOneToOne = Make(tr("Actual size"), QKeySequence(Qt::CTRL | Qt::Key_0), [](E* Ed) { Ed->SetZoom(100); });
  FZoomToPage = Make(tr("Fit page"), QKeySequence(Qt::CTRL | Qt::Key_9), &E::ZoomToPage);
  FZoomToSelection = Make(tr("Fit selection"), QKeySequence(Qt::CTRL | Qt::Key_8), &E::ZoomToSelection);
  Separator();
  const QString aligns[6] = {tr("Align left"), tr("Align centre"),  tr("Align right"),
                             tr("Align top"),  tr("Align middle"), tr("Align bottom")};
  for (int i = 0; i < 6; ++i)
    FAlign[i] = Make(aligns[i], QKeySequence(),
                     [i](E* Ed) { Ed->AlignSelection(static_cast<TKxDeAlignment>(i)); });
  const QString distributions[4] = {tr("Distribute centres horizontally"), tr("Distribute centres vertically"),
                                    tr("Equal gaps horizontally"), tr("Equal gaps vertically")};
  for (int i = 0; i < 4; ++i)
    FDistribute[i] = Make(distributions[i], QKeySequence(),
                          [i](E* Ed) { Ed->DistributeSelection(static_cast<TKxDeDistribution>(i)); });
  Separator();
  const QString references[3] = {tr("Relative to first selected"), tr("Relative to last selected"),
                                 tr("Relative to page")};
  auto* group = new QActionGroup(this);
  for (int i = 0; i < 3; ++i) {
    FAlignReference[i] = Make(references[i], QKeySequence(),
                              [i](E* Ed) { Ed->SetAlignReference(static_cast<TKxDeAlignReference>(i)); });
    FAlignReference[i]->setCheckable(true);
    group->addAction(FAlignReference[i]);
  }
  if (Editor) {
    Editor->addActions(FActions);
    connect(Editor, &TKxDeCustomEditor::CommandsChanged, this, &TKxDeEditorActions::UpdateActions);
    connect(Editor, &TKxDeCustomEditor::UndoStateChanged, this, &TKxDeEditorActions::UpdateActions);
    auto* client = Create<TActionsClient>(static_cast<TKxDeSurface*>(Editor));
    client->OnAny = [this] { UpdateLater(); };
    FClient.reset(client);
  }
  UpdateActions();
}

TKxDeEditorActions::~TKxDeEditorActions() = default;

QAction* TKxDeEditorActions::Make(const QString& Text, const QKeySequence& Key,
                                  std::function<void(TKxDeCustomEditor*)> Command) {
  auto* a = new QAction(Text, this);
  a->setShortcut(Key);
  // Only while the editor has the focus: the keys stay other widgets' elsewhere in the window.
  a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(a, &QAction::triggered, this, [this, Command = std::move(Command)] {
    if (!FEditor) return;
    Command(FEditor);
    UpdateActions();
  });
  FActions.append(a);
  return a;
}

void TKxDeEditorActions::Separator() {
  auto* a = new QAction(this);
  a->setSeparator(true);
  FActions.append(a);
}

void TKxDeEditorActions::UpdateLater() {
  if (FUpdatePending) return;
  FUpdatePending = true;
  QMetaObject::invokeMethod(
      this, [this] { UpdateActions(); }, Qt::QueuedConnection);
}

void TKxDeEditorActions::UpdateActions() {
  FUpdatePending = false;
  TKxDeCustomEditor* e = FEditor;
  const int32_t n = e ? e->SelectionCount() : 0;
  const bool some = n > 0;
  FUndo->setEnabled(e && e->CanUndo());
  FRedo->setEnabled(e && e->CanRedo());
  FDelete->setEnabled(some);
  FSelectAll->setEnabled(e && e->EditOptions().Contains(TKxDeEditOption::kxdoCanSelect) && e->LayerCount() > 0);
  // Grouping takes two shapes or more; a single shape makes a package of its own.
  FGroup->setEnabled(n > 1);
  FPack->setEnabled(some);
  FUngroup->setEnabled(e && e->CanUngroup());
  FUnpack->setEnabled(e && e->CanUnpack());
  const bool up = e && e->CanBringForward();
  const bool down = e && e->CanSendBackward();
  FBringToFront->setEnabled(up);
  FBringForward->setEnabled(up);
  FSendBackward->setEnabled(down);
  FSendToBack->setEnabled(down);
  const bool nudge = some && e->EditOptions().Contains(TKxDeEditOption::kxdoKeyActions);
  for (QAction* a : FNudge) a->setEnabled(nudge);
  FZoomToSelection->setEnabled(some);
  for (QAction* a : FAlign) a->setEnabled(e && e->CanAlign());
  for (QAction* a : FDistribute) a->setEnabled(e && e->CanDistribute());
  for (int i = 0; i < 3; ++i) {
    FAlignReference[i]->setEnabled(e);
    FAlignReference[i]->setChecked(e && static_cast<int>(e->AlignReference()) == i);
  }
}

}  // namespace vorn

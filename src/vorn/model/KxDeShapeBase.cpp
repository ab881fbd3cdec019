#include "vorn/model/KxDeShapeBase.h"

#include "vorn/common/KxDeUtils.h"
#include "vorn/common/ResStrs.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/model/ActionScope_p.h"
#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeControl.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/model/KxDeShapeGradient.h"
#include "vorn/model/KxDeShapeNotifier.h"
#include "vorn/model/UpdateBracket_p.h"
#include "vorn/surface/KxDeSurface.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>
#include <unordered_set>

namespace vorn {

namespace {

// P against R turned by Angle about Center.
bool InRotatedRect(const TRectF& R, float Angle, const TPointF& Center, const TPointF& P) {
  TDPointArray corners;
  R.RectToArray(corners);
  TDPointArray rotated;
  TKxDeUtils::RotatePolygon(corners, Angle, Center, rotated);
  return TKxDeUtils::PtInPolygon(rotated, P);
}

}  // namespace

// ---- Construction and destruction -----------------------------------------------------------------

TKxDeShapeBase::TKxDeShapeBase(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : FCreateOwner(AOwner) {
  FID = TKxDeUtils::GenerateGlobalUniqueID();
  FTempID = FID;
  FColor = 0xFFFFFF;
  // No children exist yet, so storing the surface is all that setting it means here.
  FSurface = ASurface;
  FVisible = true;
  FPictureStyle = TKxDeShapePictureStyle::kxdspStretch;
  FShapeStyle += TKxDeShapeStyle::kxssCanHottrack;
  FShapeStyle += TKxDeShapeStyle::kxssUsesPen;
  // The brush and the pen are members that know the shape and report to it; the font's and the
  // picture's events are wired when they are made.
}

void TKxDeShapeBase::AfterConstruction() {
  TKxDeContainer* owner = FCreateOwner;
  FCreateOwner = nullptr;
  if (owner) owner->InsertShape(this);
}

void TKxDeShapeBase::BeforeDestruction() {
  FDestroying = true;
  if (FOwner) FOwner->RemoveShape(this);
  NotifyDestroy();
}

TKxDeShapeBase::~TKxDeShapeBase() {
  FDestroying = true;
  ClearPoints();
  ClearControls();
  FBrush.SetOwner(nullptr);
  FPen.SetOwner(nullptr);
  if (FFont) {
    FFont->OnChanging = nullptr;
    FFont->OnChange = nullptr;
    Free(FFont);
  }
  if (FPicture) {
    FPicture->OnChange = nullptr;
    Free(FPicture);
  }
  ReleaseGradient();
}

// ---- Identity -------------------------------------------------------------------------------------

void TKxDeShapeBase::AssignID(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeBase*>(Source)) FID = src->FID;
}

void TKxDeShapeBase::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeBase*>(Source)) {
    FRefPoint = src->FRefPoint;
    FRefPointPushed = src->FRefPointPushed;
    if (FExtras || src->FExtras) {
      TExtras& extras = Extras();
      extras.UserData1 = src->UserData1();
      extras.UserData2 = src->UserData2();
    }
    FBrush.Assign(&src->FBrush);
    FPen.Assign(&src->FPen);
    return;
  }
  TPersistent::Assign(Source);
}

void TKxDeShapeBase::Assign2(const TPersistent* Source) {
  AssignID(Source);
  Assign(Source);
}

QString TKxDeShapeBase::GetStdClipboardText() const { return ClassName(); }

// ---- Property setters -----------------------------------------------------------------------------

namespace {

// The common pattern of the text setters: compare, announce, store, deliver as asked.
void SetTextProperty(TKxDeShapeBase* Shape, QString& Field, const QString& Value, const QString& PropName,
                     bool Deliver) {
  if (Field == Value) return;
  TActionScope action(Shape, TKxDeAction::kxacChanging, PropName);
  Field = Value;
  if (Deliver) Shape->Changed(false);
}

}  // namespace

void TKxDeShapeBase::SetName(const QString& Value) {
  SetTextProperty(this, FName, Value, QStringLiteral("Name"), true);
}

void TKxDeShapeBase::SetText(const QString& Value) {
  SetTextProperty(this, FText, Value, QStringLiteral("Text"), FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

// The values kept apart are made only by a setter that changes something.
void TKxDeShapeBase::SetCaption(const QString& Value) {
  if (Value == Caption()) return;
  SetTextProperty(this, Extras().Caption, Value, QStringLiteral("Caption"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesCaption));
}

void TKxDeShapeBase::SetUserData1(const QString& Value) {
  if (Value == UserData1()) return;
  SetTextProperty(this, Extras().UserData1, Value, QStringLiteral("UserData1"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

void TKxDeShapeBase::SetUserData2(const QString& Value) {
  if (Value == UserData2()) return;
  SetTextProperty(this, Extras().UserData2, Value, QStringLiteral("UserData2"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

void TKxDeShapeBase::SetErrText(const QString& Value) {
  if (Value != ErrText()) Extras().ErrText = Value;
}

void TKxDeShapeBase::SetObjectsDB(TObject* Value) {
  if (Value != ObjectsDB()) Extras().ObjectsDB = Value;
}

TKxDeShapeBase::TExtras& TKxDeShapeBase::Extras() {
  if (!FExtras) FExtras = std::make_unique<TExtras>();
  return *FExtras;
}

const TKxDePointList& TKxDeShapeBase::SelectionList() const {
  static const TKxDePointList none;
  return FExtras ? FExtras->SelectionList : none;
}

const std::vector<TKxDeControl*>& TKxDeShapeBase::ControlList() const {
  static const std::vector<TKxDeControl*> none;
  return FExtras ? FExtras->Controls : none;
}

bool TKxDeShapeBase::IsInSelection(const TKxDePoint* Point) const {
  const TKxDePointList& selection = SelectionList();
  return std::find(selection.begin(), selection.end(), Point) != selection.end();
}

void TKxDeShapeBase::SetVisible(bool Value) {
  if (FVisible == Value) return;
  TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("Visible"));
  FVisible = Value;
  // Forced: the owner must hear that the shape disappeared, although it is now invisible.
  Changed(true);
  if (TKxDeSurface* s = GetSurface()) s->RefineSelections();
}

void TKxDeShapeBase::SetLocked(bool Value) {
  if (FLocked == Value) return;
  {
    TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("Locked"));
    FLocked = Value;
    Changed(false);
  }
  // Unlike hiding, locking refines the selections once its action has closed.
  if (TKxDeSurface* s = GetSurface()) s->RefineSelections();
}

void TKxDeShapeBase::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FBrush.ShapeColorChanged();
  if (FGradient) FGradient->ShapeColorChanged();
}

void TKxDeShapeBase::SetShapeStyle(TKxDeShapeStyles Value) {
  BeforeSetShapeStyle(Value);
  if (Value == FShapeStyle) return;
  FShapeStyle = Value;
  // The gradient object is tied to kxssUsesGradient and is created or released with it.
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient)) CreateGradient();
  else ReleaseGradient();
  ShapeStyleChanged();
}

void TKxDeShapeBase::SetDataBehavior(TmekDataBehavior) {}

// ---- Owner chain ----------------------------------------------------------------------------------

TKxDeSurface* TKxDeShapeBase::GetSurface() const {
  if (FSurface) return FSurface;
  TKxDeLayer* layer = GetLayer();
  return layer ? layer->GetSurface() : nullptr;
}

void TKxDeShapeBase::SetSurface(TKxDeSurface* Value) { FSurface = Value; }

TKxDeLayer* TKxDeShapeBase::GetLayer() const {
  // Starts above the shape: a layer lies on no layer (its hint then names no owner layer).
  for (const TKxDeShapeBase* s = FOwner; s; s = s->FOwner)
    if (auto* layer = dynamic_cast<const TKxDeLayer*>(s)) return const_cast<TKxDeLayer*>(layer);
  return nullptr;
}

int32_t TKxDeShapeBase::GetIndex() const { return FOwner ? FOwner->IndexOf(this) : -1; }

bool TKxDeShapeBase::IsParent(const TKxDeShapeBase* Shape) const {
  if (!Shape || Shape == this || Shape->GetSurface() != GetSurface()) return false;
  for (const TKxDeShapeBase* s = FOwner; s; s = s->FOwner)
    if (s == Shape) return true;
  return false;
}

TKxDeShapeBase* TKxDeShapeBase::ShapeByID(uint32_t) { return nullptr; }

// ---- Change protocol ------------------------------------------------------------------------------

void TKxDeShapeBase::StartAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  FActionList.Add(Action, PropName);
  if (Shape && FOwner && FNotifyLock == 0) FOwner->StartAction(Shape, Action, PropName);
}

void TKxDeShapeBase::EndAction(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FOwner && FNotifyLock == 0) FOwner->EndAction(Shape, Action, PropName);
}

void TKxDeShapeBase::NotifyUndo(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName) {
  if (Shape && FOwner && FNotifyLock == 0) FOwner->NotifyUndo(Shape, Action, PropName);
}

void TKxDeShapeBase::Changing() {
  if (FDestroying) return;
  DoChanging();
  if (FOwner) FOwner->DoShapeChanging(this);
  NotifyChanging();
}

void TKxDeShapeBase::Changed(bool Force) {
  if (FDestroying) return;
  if (FUpdateCount > 0) {
    ++FChangeCount;
  } else if (FVisible || Force) {
    FChangeCount = 0;
    FControlChange = 0;
    FPointChange = 0;
    UpdateRegion();
    DoChanged(Force);
    if (FOwner) FOwner->DoShapeChanged(this);
  }
  NotifyChange();
}

void TKxDeShapeBase::BeginUpdate() {
  if (FUpdateCount == 0) FActionList.Clear();
  ++FUpdateCount;
  DoBeginUpdate();
}

void TKxDeShapeBase::EndUpdate() {
  DoEndUpdate();
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed(false);
}

void TKxDeShapeBase::EndPointUpdate() {
  if (FPointUpdate == 0) return;
  if (--FPointUpdate == 0 && FUpdateCount == 0) Changed(false);
}

void TKxDeShapeBase::EndControlUpdate() {
  if (FControlUpdate == 0) return;
  if (--FControlUpdate == 0 && FUpdateCount == 0) Changed(false);
}

void TKxDeShapeBase::RegisterNotifier(TKxDeShapeNotifier* Notifier) {
  if (!Notifier || FDestroying) return;
  std::vector<TKxDeShapeNotifier*>& list = Extras().NotifyList;
  if (std::find(list.begin(), list.end(), Notifier) != list.end()) return;
  list.push_back(Notifier);
}

void TKxDeShapeBase::UnregisterNotifier(TKxDeShapeNotifier* Notifier) {
  if (!FExtras) return;
  std::vector<TKxDeShapeNotifier*>& list = FExtras->NotifyList;
  auto it = std::find(list.begin(), list.end(), Notifier);
  if (it == list.end()) return;
  list.erase(it);
  if (list.empty()) std::vector<TKxDeShapeNotifier*>().swap(list);
}

void TKxDeShapeBase::NotifyChanging() {
  // By index: a handler may unregister its notifier meanwhile.
  if (!FExtras) return;
  for (size_t i = 0; i < FExtras->NotifyList.size(); ++i) FExtras->NotifyList[i]->Changing(this);
}

void TKxDeShapeBase::NotifyChange() {
  if (!FExtras) return;
  for (size_t i = 0; i < FExtras->NotifyList.size(); ++i) FExtras->NotifyList[i]->Changed(this);
}

void TKxDeShapeBase::NotifyDestroy() {
  if (!FExtras) return;
  std::vector<TKxDeShapeNotifier*>& list = FExtras->NotifyList;
  while (!list.empty()) {
    TKxDeShapeNotifier* n = list.back();
    list.pop_back();
    if (list.empty()) std::vector<TKxDeShapeNotifier*>().swap(list);
    n->Destroyed(this);
  }
}

// ---- Points ---------------------------------------------------------------------------------------

int32_t TKxDeShapeBase::GetPointCount() const { return static_cast<int32_t>(FPoints.size()); }

TKxDePoint* TKxDeShapeBase::GetPoint(int32_t Index) const {
  if (Index < 0 || Index >= static_cast<int32_t>(FPoints.size())) return nullptr;
  return FPoints[static_cast<size_t>(Index)];
}

TPointF TKxDeShapeBase::GetPointValue(int32_t Index) const {
  TKxDePoint* p = GetPoint(Index);
  return p ? p->GetValue() : TPointF{};
}

void TKxDeShapeBase::SetPointValue(int32_t Index, const TPointF& P) {
  if (TKxDePoint* p = GetPoint(Index)) p->SetValue(P);
}

int32_t TKxDeShapeBase::IndexOf(const TKxDePoint* Point) const {
  if (!Point || Point->FOwner != this) return -1;
  auto it = std::find(FPoints.begin(), FPoints.end(), Point);
  return it == FPoints.end() ? -1 : static_cast<int32_t>(it - FPoints.begin());
}

bool TKxDeShapeBase::CanInsertPoint(const TKxDePoint* Point) const { return Point && Point->FOwner != this; }

void TKxDeShapeBase::InsertPoint(TKxDePoint* Point) {
  if (!CanInsertPoint(Point)) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  if (Point->FOwner) Point->FOwner->RemovePoint(Point);
  Point->FOwner = this;
  FPoints.push_back(Point);
  DoPointAdded(Point);
  Changed(false);
}

void TKxDeShapeBase::RemovePoint(TKxDePoint* Point) {
  if (!Point || Point->FOwner != this) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  Point->FOwner = nullptr;
  // Points are mostly freed from the end: search from there.
  auto it = std::find(FPoints.rbegin(), FPoints.rend(), Point);
  if (it != FPoints.rend()) FPoints.erase(std::next(it).base());
  DoPointRemoved(Point);
  Changed(false);
}

void TKxDeShapeBase::ClearPoints() {
  if (FPoints.empty()) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  TUpdateBracket update(this);
  ++FChangeCount;
  if (FExtras) FExtras->SelectionList.clear();
  while (!FPoints.empty()) {
    TKxDePoint* p = FPoints.back();
    FPoints.pop_back();
    p->FOwner = nullptr;
    Free(p);
  }
}

TKxDePoint* TKxDeShapeBase::Add(TKxDePoint*) { return nullptr; }
TKxDePoint* TKxDeShapeBase::Add(float, float) { return nullptr; }
void TKxDeShapeBase::Insert(int32_t, TKxDePoint*) {}
TKxDePoint* TKxDeShapeBase::ApproxInsert(const TPointF&, float) { return nullptr; }
void TKxDeShapeBase::Delete(int32_t) {}
void TKxDeShapeBase::Remove(TKxDePoint*) {}
TKxDePoint* TKxDeShapeBase::Extract(TKxDePoint*) { return nullptr; }
void TKxDeShapeBase::Clear() {}

TDPointArray TKxDeShapeBase::GetPointArray() const {
  TDPointArray result;
  result.reserve(FPoints.size());
  for (const TKxDePoint* p : FPoints) result.push_back(p->GetValue());
  return result;
}

void TKxDeShapeBase::DoPointAdded(TKxDePoint* Point) {
  ++FPointChange;
  PointAdded(Point);
}

void TKxDeShapeBase::DoPointRemoved(TKxDePoint* Point) {
  ++FPointChange;
  if (FExtras) {
    TKxDePointList& selection = FExtras->SelectionList;
    auto it = std::find(selection.begin(), selection.end(), Point);
    if (it != selection.end()) selection.erase(it);
  }
  PointRemoved(Point);
}

void TKxDeShapeBase::DoPointChanging(TKxDePoint* Point) {
  PointChanging(Point);
  Changing();
}

void TKxDeShapeBase::DoPointChanged(TKxDePoint* Point) {
  ++FPointChange;
  PointChanged(Point);
  Changed(false);
}

// ---- Point selection ------------------------------------------------------------------------------

void TKxDeShapeBase::Select(TKxDePoint* Point) {
  if (!Point) {
    ClearSelection();
    return;
  }
  if (Point->FOwner != this) return;
  const TKxDePointList& selection = SelectionList();
  if (selection.size() == 1 && selection.front() == Point) return;
  Extras().SelectionList.assign(1, Point);
  SelectionChanged();
}

void TKxDeShapeBase::AddSelection(TKxDePoint* Point) { AddSelections(&Point, 1); }

void TKxDeShapeBase::AddSelections(TKxDePoint* const* Points, int32_t Count) {
  if (!Points || Count <= 0) return;
  // Selecting many points at once must not compare every pair.
  std::unordered_set<const TKxDePoint*> selected;
  const TKxDePointList& selection = SelectionList();
  const bool useSet = Count > 8 && !selection.empty();
  if (useSet) selected.insert(selection.begin(), selection.end());
  bool changed = false;
  for (int32_t i = 0; i < Count; ++i) {
    TKxDePoint* p = Points[i];
    if (!p || p->FOwner != this) continue;
    const bool already = useSet ? !selected.insert(p).second : IsInSelection(p);
    if (already) continue;
    Extras().SelectionList.push_back(p);
    changed = true;
  }
  if (changed) SelectionChanged();
}

void TKxDeShapeBase::RemoveSelection(TKxDePoint* Point) { RemoveSelections(&Point, 1); }

void TKxDeShapeBase::RemoveSelections(TKxDePoint* const* Points, int32_t Count) {
  if (!Points || Count <= 0 || SelectionList().empty()) return;
  const std::unordered_set<const TKxDePoint*> gone(Points, Points + Count);
  TKxDePointList& selection = FExtras->SelectionList;
  const size_t before = selection.size();
  std::erase_if(selection, [&gone](const TKxDePoint* p) { return gone.count(p) > 0; });
  if (selection.size() != before) SelectionChanged();
}

void TKxDeShapeBase::ClearSelection() {
  if (SelectionList().empty()) return;
  FExtras->SelectionList.clear();
  SelectionChanged();
}

void TKxDeShapeBase::SelectAll() {
  if (SelectionList() == FPoints) return;
  Extras().SelectionList = FPoints;
  SelectionChanged();
}

void TKxDeShapeBase::GetSelections(TKxDePointList& List) const { List = SelectionList(); }

void TKxDeShapeBase::UpdateSelection() {
  if (SelectionList().empty()) return;
  TKxDePointList& selection = FExtras->SelectionList;
  const size_t before = selection.size();
  std::erase_if(selection, [this](const TKxDePoint* p) { return p->FOwner != this; });
  if (selection.size() != before) SelectionChanged();
}

bool TKxDeShapeBase::IsSelected(const TKxDePoint* Point) const {
  if (FLocked || !Point) return false;
  return IsInSelection(Point);
}

bool TKxDeShapeBase::IsSelected(int32_t Index) const { return IsSelected(GetPoint(Index)); }

TKxDePoint* TKxDeShapeBase::Selections(int32_t Index) const {
  if (Index < 0 || Index >= SelectionCount()) return nullptr;
  return SelectionList()[static_cast<size_t>(Index)];
}

void TKxDeShapeBase::SelectionChanged() { Changed(false); }

// ---- Free control handles -------------------------------------------------------------------------

TKxDeControl* TKxDeShapeBase::GetControl(int32_t Index) const {
  if (Index < 0 || Index >= ControlCount()) return nullptr;
  return ControlList()[static_cast<size_t>(Index)];
}

int32_t TKxDeShapeBase::IndexOfControl(const TKxDeControl* Control) const {
  if (!Control || Control->FOwner != this) return -1;
  const std::vector<TKxDeControl*>& controls = ControlList();
  auto it = std::find(controls.begin(), controls.end(), Control);
  return it == controls.end() ? -1 : static_cast<int32_t>(it - controls.begin());
}

bool TKxDeShapeBase::CanInsertControl(const TKxDeControl* Control) const { return Control && Control->FOwner != this; }

void TKxDeShapeBase::InsertControl(TKxDeControl* Control) {
  if (!CanInsertControl(Control)) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  if (Control->FOwner) Control->FOwner->RemoveControl(Control);
  Control->FOwner = this;
  Extras().Controls.push_back(Control);
  Control->FOnChanging = [this](TObject* Sender, float& x, float& y) {
    ControlIsChanging(static_cast<TKxDeControl*>(Sender), x, y);
  };
  DoControlAdded(Control);
  Changed(false);
}

void TKxDeShapeBase::RemoveControl(TKxDeControl* Control) {
  if (!Control || Control->FOwner != this) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  Control->FOnChanging = nullptr;
  Control->FOwner = nullptr;
  std::vector<TKxDeControl*>& controls = Extras().Controls;
  auto it = std::find(controls.rbegin(), controls.rend(), Control);
  if (it != controls.rend()) controls.erase(std::next(it).base());
  DoControlRemoved(Control);
  Changed(false);
}

void TKxDeShapeBase::ClearControls() {
  if (ControlList().empty()) return;
  TActionScope action(this, TKxDeAction::kxacSizing);
  TUpdateBracket update(this);
  std::vector<TKxDeControl*>& controls = FExtras->Controls;
  while (!controls.empty()) {
    TKxDeControl* c = controls.back();
    c->FOnChanging = nullptr;
    c->FOwner = nullptr;
    controls.pop_back();
    Free(c);
  }
}

void TKxDeShapeBase::DoControlAdded(TKxDeControl* Control) {
  ++FControlChange;
  ControlAdded(Control);
}

void TKxDeShapeBase::DoControlRemoved(TKxDeControl* Control) {
  ++FControlChange;
  ControlRemoved(Control);
}

void TKxDeShapeBase::DoControlChanging(TKxDeControl* Control) {
  ControlChanging(Control);
  Changing();
}

void TKxDeShapeBase::DoControlChanged(TKxDeControl* Control) {
  ++FControlChange;
  ControlChanged(Control);
  Changed(false);
}

// ---- Geometry -------------------------------------------------------------------------------------

TRectF TKxDeShapeBase::GetBounds() const {
  if (FPoints.empty()) return TRectF{};
  TRectF r = TRectF::At(FPoints.front()->GetValue());
  for (const TKxDePoint* p : FPoints) r = r.Union(p->GetValue());
  return r;
}

TRectF TKxDeShapeBase::GetRotatedBounds() const {
  const TRectF b = GetBounds();
  if (FRotation == 0) return b;
  return TKxDeUtils::RotateRect2(b, FRotation, GetRotationPoint());
}

TPointF TKxDeShapeBase::GetGravityCenter() const {
  return TKxDeUtils::RotationPt(GetBounds(), TKxDeRotationCenter::kxdroPtGravity);
}

TPointF TKxDeShapeBase::GetRotationPoint() const {
  if (FRotationCenter == TKxDeRotationCenter::kxdroRefPoint) return FRefPoint;
  return TKxDeUtils::RotationPt(GetBounds(), FRotationCenter);
}

float TKxDeShapeBase::GetLeft() const { return GetBounds().Left / CoordsPixelsPerMMConvertValue; }
float TKxDeShapeBase::GetTop() const { return GetBounds().Top / CoordsPixelsPerMMConvertValue; }
float TKxDeShapeBase::GetRight() const { return GetBounds().Right / CoordsPixelsPerMMConvertValue; }
float TKxDeShapeBase::GetBottom() const { return GetBounds().Bottom / CoordsPixelsPerMMConvertValue; }

namespace {

enum class TEdge { Left, Top, Right, Bottom };

// Moves the shape so that one edge of its bounds lands on Value millimetres.
void MoveEdgeTo(TKxDeShapeBase* Shape, TEdge Edge, float Value, const QString& PropName) {
  // The action opens inside the update bracket and closes before it.
  Shape->Changing();
  TUpdateBracket update(Shape);
  TActionScope action(Shape, TKxDeAction::kxacChanging, PropName);
  const float target = Value * CoordsPixelsPerMMConvertValue;
  const TRectF b = Shape->GetBounds();
  switch (Edge) {
    case TEdge::Left: Shape->MoveByWithRef(target - b.Left, 0); break;
    case TEdge::Right: Shape->MoveByWithRef(target - b.Right, 0); break;
    case TEdge::Top: Shape->MoveByWithRef(0, target - b.Top); break;
    case TEdge::Bottom: Shape->MoveByWithRef(0, target - b.Bottom); break;
  }
}

}  // namespace

void TKxDeShapeBase::SetLeft(float Value) {
  if (GetLeft() != Value) MoveEdgeTo(this, TEdge::Left, Value, QStringLiteral("Left"));
}

void TKxDeShapeBase::SetTop(float Value) {
  if (GetTop() != Value) MoveEdgeTo(this, TEdge::Top, Value, QStringLiteral("Top"));
}

void TKxDeShapeBase::SetRight(float Value) {
  if (GetRight() != Value) MoveEdgeTo(this, TEdge::Right, Value, QStringLiteral("Right"));
}

void TKxDeShapeBase::SetBottom(float Value) {
  if (GetBottom() != Value) MoveEdgeTo(this, TEdge::Bottom, Value, QStringLiteral("Bottom"));
}

void TKxDeShapeBase::UpdateRefPoint() {
  const TRectF b = GetBounds();
  FRefPoint = TPointF{b.Left, b.Top};
}

void TKxDeShapeBase::PositionPop() {
  if (FRefPointPushed == FRefPoint) return;
  FRefPoint = FRefPointPushed;
  TUpdateBracket update(this);
  SetPositionAgainstRefPoint();
}

void TKxDeShapeBase::SetPositionAgainstRefPoint() {
  const TRectF b = GetBounds();
  MoveBy(FRefPoint.X - b.Left, FRefPoint.Y - b.Top);
}

void TKxDeShapeBase::ArrangeBoundsRect(TRectF& R) { R = R.Normalized(); }

void TKxDeShapeBase::SnapBounds(const TRectF& R) {
  const TRectF r = R.Normalized();
  SnapBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TKxDeShapeBase::SnapBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TKxDeShapeBase::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  NormalizeBounds(ALeft, ATop, AWidth, AHeight);
  if (FPoints.empty()) return;
  const TRectF b = GetBounds();
  if (b.Left == ALeft && b.Top == ATop && b.Width() == AWidth && b.Height() == AHeight) return;
  // The undo record is taken once the lock holds back the nested moves' own actions.
  TActionScope action(this, TKxDeAction::kxacSizing, QString(), TActionScope::TUndoNotice::ByCaller);
  NotifyChanging();
  TNotifyLockBracket lock(this);
  TUpdateBracket update(this);
  action.NotifyUndo();
  MoveBy(ALeft - b.Left, ATop - b.Top);
  Resize(AWidth, AHeight);
}

namespace {

enum class TAnnounced { ChangeFirst, ActionFirst };

// Moves every point of a shape to Target(x, y) as one sizing action and one change: the undo
// record is taken inside the notify lock that holds back the points' own actions, and their
// changes are folded into one. A move announces the coming change before its action, a resize after.
template <class F>
void MovePoints(TKxDeShapeBase* Shape, const TKxDePointList& Points, TAnnounced Order, F&& Target) {
  if (Order == TAnnounced::ChangeFirst) Shape->NotifyChanging();
  TActionScope action(Shape, TKxDeAction::kxacSizing, QString(), TActionScope::TUndoNotice::ByCaller);
  if (Order == TAnnounced::ActionFirst) Shape->NotifyChanging();
  TNotifyLockBracket lock(Shape);
  TUpdateBracket update(Shape);
  TPointUpdateBracket points(Shape);
  action.NotifyUndo();
  // By index: a point's is-changing hook may not change the list, but must not crash if it does.
  for (size_t i = 0; i < Points.size(); ++i) {
    TKxDePoint* p = Points[i];
    const TPointF t = Target(p->x(), p->y());
    p->SetPosition(t.X, t.Y);
  }
}

}  // namespace

void TKxDeShapeBase::MoveBy(float X, float Y) {
  if (FPointUpdate > 0 || FPoints.empty() || (X == 0 && Y == 0)) return;
  MovePoints(this, FPoints, TAnnounced::ChangeFirst, [X, Y](float x, float y) { return TPointF{x + X, y + Y}; });
}

void TKxDeShapeBase::MoveByWithRef(float X, float Y) {
  DoBeforeMove(X, Y);
  MoveBy(X, Y);
}

void TKxDeShapeBase::MoveTo(float X, float Y) {
  const TRectF b = GetBounds();
  if (X == b.Left && Y == b.Top) return;
  MoveBy(X - b.Left, Y - b.Top);
}

void TKxDeShapeBase::OffsetPosition(int32_t, const TPointF&) {}

void TKxDeShapeBase::Resize(float NewWidth, float NewHeight) {
  if (FPointUpdate > 0 || FPoints.size() < 2) return;
  const TRectF b = GetBounds();
  const float w = std::max(b.Width(), 0.0f);
  const float h = std::max(b.Height(), 0.0f);
  if (NewWidth < 0) NewWidth = w;
  if (NewHeight < 0) NewHeight = h;
  if (NewWidth == w && NewHeight == h) return;
  const float sx = w == 0 ? 1.0f : NewWidth / w;
  const float sy = h == 0 ? 1.0f : NewHeight / h;
  MovePoints(this, FPoints, TAnnounced::ActionFirst, [&b, sx, sy](float x, float y) {
    return TPointF{b.Left + (x - b.Left) * sx, b.Top + (y - b.Top) * sy};
  });
}

void TKxDeShapeBase::ResizeBy(float DifX, float DifY) {
  if (FPointUpdate > 0 || (DifX == 0 && DifY == 0)) return;
  const TRectF b = GetBounds();
  Resize(std::max(b.Width(), 0.0f) + DifX, std::max(b.Height(), 0.0f) + DifY);
}

void TKxDeShapeBase::SetPosition(TKxDeShapeRefPos RefPos, float Ax, float Ay) {
  const TRectF r = GetRotatedBounds();
  const float l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
  TPointF ref;
  bool known = true;
  switch (RefPos) {
    case TKxDeShapeRefPos::kxrpBottomLeft: ref = {l, b}; break;
    case TKxDeShapeRefPos::kxrpMidLeft: ref = {l, b - (b - t) / 2}; break;
    case TKxDeShapeRefPos::kxrpTopLeft: ref = {l, t}; break;
    case TKxDeShapeRefPos::kxrpTopMid: ref = {l + (rr - l) / 2, t}; break;
    case TKxDeShapeRefPos::kxrpTopRight: ref = {rr, t}; break;
    case TKxDeShapeRefPos::kxrpMidRight: ref = {rr, b - (b - t) / 2}; break;
    case TKxDeShapeRefPos::kxrpBottomRight: ref = {rr, b}; break;
    case TKxDeShapeRefPos::kxrpBottomMid: ref = {l + (rr - l) / 2, b}; break;
    case TKxDeShapeRefPos::kxrpMidMid: ref = {l + (rr - l) / 2, b - (b - t) / 2}; break;
    default: known = false; break;
  }
  if (known) MoveByWithRef(Ax - ref.X, Ay - ref.Y);
  else MoveByWithRef(0, 0);
}

void TKxDeShapeBase::SetMMPosition(TKxDeShapeRefPos RefPos, float Ax, float Ay) {
  TActionScope action(this, TKxDeAction::kxacSizing, QStringLiteral("Position"));
  SetPosition(RefPos, Ax * CoordsPixelsPerMMConvertValue, Ay * CoordsPixelsPerMMConvertValue);
  Changed(false);
}

void TKxDeShapeBase::RecalculateBounds(bool) {}
void TKxDeShapeBase::Refine(float) {}

bool TKxDeShapeBase::InRect(const TRectF& R) const {
  if (R.IsEmpty() || FPoints.empty()) return false;
  for (size_t i = 0; i < FPoints.size(); ++i) {
    const TPointF p = FPoints[i]->GetValue();
    if (R.Contains(p)) return true;
    if (i > 0 && TKxDeUtils::DoLineIntersectRect(FPoints[i - 1]->GetValue(), p, R)) return true;
  }
  return false;
}

bool TKxDeShapeBase::MayShowIn(const TRectF& R) const {
  return !R.IsEmpty() && (InRect(R) || GetRotatedBounds().Intersects(R));
}

bool TKxDeShapeBase::IsOnLine(const TPointF& P) const {
  if (FPoints.size() < 2) return false;
  for (size_t i = 1; i < FPoints.size(); ++i) {
    const TPointF a = FPoints[i - 1]->GetValue();
    const TPointF b = FPoints[i]->GetValue();
    if (a == b) continue;
    if (TKxDeUtils::NearLine(P, a, b, 2.0f)) return true;
  }
  return false;
}

TRect TKxDeShapeBase::DrawRect() const {
  const TKxDeLayer* layer = GetLayer();
  return layer ? layer->DrawRect() : TRect{};
}

// ---- Rotation -------------------------------------------------------------------------------------

void TKxDeShapeBase::SetRotation(float Value) {
  if (Value == FRotation) return;
  {
    TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("Rotation"));
    // Hundredths of a degree, rounded half to even, folded into [0, 360).
    const int64_t hundredths = Round(static_cast<double>(Value) * 100.0) % 36000;
    float r = static_cast<float>(static_cast<double>(hundredths) / 100.0);
    if (r < 0) r += 360;
    FRotation = r;
  }
  // The turn is delivered as a change once its action has closed.
  Changed(false);
}

void TKxDeShapeBase::SetRotationCenter(TKxDeRotationCenter Value) {
  if (Value == FRotationCenter) return;
  TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("RotationPoint"));
  FRotationCenter = Value;
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel)) Changed(false);
}

void TKxDeShapeBase::RotateAroundPoint(int32_t RotateAngle, const TPointF& RotatePt, const TPointF& TranslationPt) {
  const TPointF g = GetGravityCenter();
  SetRotation(FRotation + static_cast<float>(RotateAngle));
  const TPointF d = TKxDeUtils::RotatePoint(g, static_cast<float>(RotateAngle), RotatePt) - g + TranslationPt;
  MoveByWithRef(d.X, d.Y);
}

// ---- Hit testing ----------------------------------------------------------------------------------

bool TKxDeShapeBase::PointOnShape(const TPointF& P, float Fuzz, bool) const {
  if (Fuzz < 0) Fuzz = 0;
  const TRectF b = GetBounds();
  const TRectF r = b.Inflated(Fuzz);
  if (FRotation == 0) return r.Contains(P);
  return InRotatedRect(r, FRotation, TKxDeUtils::RotationPt(b, TKxDeRotationCenter::kxdroPtGravity), P);
}

int32_t TKxDeShapeBase::PointAt(const TPointF& P, float Fuzz) const {
  if (FPoints.empty()) return -1;
  const bool rotated = FRotation != 0;
  TPointF center;
  if (rotated && Fuzz > 0) center = TKxDeUtils::RotationPt(GetBounds(), TKxDeRotationCenter::kxdroPtGravity);
  for (int32_t i = static_cast<int32_t>(FPoints.size()) - 1; i >= 0; --i) {
    const TKxDePoint* p = FPoints[static_cast<size_t>(i)];
    const TPointF spot{static_cast<float>(Round(p->Fx)), static_cast<float>(Round(p->Fy))};
    if (spot == P) return i;
    if (Fuzz <= 0) continue;
    const TRectF square = TRectF::Square(spot, Fuzz);
    if (!rotated) {
      if (square.Contains(P)) return i;
    } else if (InRotatedRect(square, FRotation, center, P)) {
      // A hit found through the turned square is reported renumbered (0<->3, 1<->2, 4<->6):
      // the sizing code that reads it counts the corners of a turned frame that way.
      switch (i) {
        case 0: return 3;
        case 1: return 2;
        case 2: return 1;
        case 3: return 0;
        case 4: return 6;
        case 6: return 4;
        default: return i;
      }
    }
  }
  return -1;
}

int32_t TKxDeShapeBase::ControlAt(const TPointF& P, float Fuzz) const {
  for (int32_t i = ControlCount() - 1; i >= 0; --i) {
    const TKxDeControl* c = ControlList()[static_cast<size_t>(i)];
    const TPointF spot{static_cast<float>(Round(c->Fx)), static_cast<float>(Round(c->Fy))};
    if (spot == P) return i;
    if (Fuzz > 0 && TRectF::Square(spot, Fuzz).Contains(P)) return i;
  }
  return -1;
}

int32_t TKxDeShapeBase::PointControlAt(const TPointF&, float, bool, int32_t& SubIndex) const {
  SubIndex = -1;
  return -1;
}

TKxDeShapeHit TKxDeShapeBase::HitTest(const TPointF& P, float Fuzz, float PointSize, bool Selected, bool Editing,
                                      TKxDeShiftKeys) const {
  TKxDeShapeHit hit;
  if (Fuzz < 0) Fuzz = 0;
  if (PointSize < 1) PointSize = 1;
  if (Editing && FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesControls)) {
    hit.PartIndex = ControlAt(P, PointSize);
    if (hit.PartIndex >= 0) {
      hit.Part = TKxDeShapePart::kxspControl;
      return hit;
    }
  }
  if (Selected && Editing && FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPointControls)) {
    hit.PartIndex = PointControlAt(P, PointSize, Selected, hit.SubIndex);
    if (hit.PartIndex >= 0) {
      hit.Part = TKxDeShapePart::kxspPointControl;
      return hit;
    }
  }
  if (Editing) {
    hit.PartIndex = PointAt(P, PointSize);
    if (hit.PartIndex >= 0) {
      hit.Part = TKxDeShapePart::kxspPoint;
      return hit;
    }
  }
  if (PointOnShape(P, Fuzz, Editing)) hit.Part = TKxDeShapePart::kxspShape;
  return hit;
}

TCursor TKxDeShapeBase::GetCursor(const TKxDeHitTest& Hit) const {
  if (Hit.HitType == TKxDeHitType::kxhtPoint && Hit.State == TKxDeShapeHitState::kxhsSelected && Hit.PartIndex >= 0) {
    const auto q = TKxDeUtils::Quadrant(FRotation);
    const bool odd = q == TKxDeSizeRotation::kxsrSouthWest || q == TKxDeSizeRotation::kxsrNorthEast;
    const bool mainDiagonal = Hit.PartIndex == 0 || Hit.PartIndex == 2;
    if (mainDiagonal) return odd ? crSizeNWSE : crSizeNESW;
    return odd ? crSizeNESW : crSizeNWSE;
  }
  if (Hit.HitType == TKxDeHitType::kxhtPoint || Hit.HitType == TKxDeHitType::kxhtShape) return crSizeAll;
  return crDefault;
}

// ---- Styles ---------------------------------------------------------------------------------------

namespace {

// Before a style changes: the action bracket around the hook and, when the shape uses the style,
// the coming change.
template <class Hook>
void AnnounceStyleChanging(TKxDeShapeBase* Shape, TKxDeAction Action, bool Uses, Hook&& CallHook) {
  TActionScope action(Shape, Action);
  CallHook();
  if (Uses) Shape->Changing();
}

// After a brush or pen change: a second action, named after the style, around the hook and the
// delivered change. Undo records the style's new state under that name.
template <class Hook>
void AnnounceStyleChanged(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName, bool Uses,
                          Hook&& CallHook) {
  TActionScope action(Shape, Action, PropName);
  CallHook();
  if (Uses) Shape->Changed(false);
}

}  // namespace

TKxDeShapeFont* TKxDeShapeBase::Font() const {
  if (!FFont) {
    auto* self = const_cast<TKxDeShapeBase*>(this);
    FFont = Create<TKxDeShapeFont>(self);
    FFont->OnChanging = [self](TObject* Sender) { self->DoFontChanging(Sender); };
    FFont->OnChange = [self](TObject* Sender) { self->DoFontChanged(Sender); };
  }
  return FFont;
}

TKxDePicture* TKxDeShapeBase::Picture() const {
  if (!FPicture) {
    auto* self = const_cast<TKxDeShapeBase*>(this);
    FPicture = Create<TKxDePicture>(self);
    FPicture->OnChange = [self](TKxDePicture* Sender) { self->DoPictureChanged(Sender); };
  }
  return FPicture;
}

void TKxDeShapeBase::CreateGradient() {
  if (FGradient) return;
  FGradient = Create<TKxDeShapeGradient>(this);
  FGradient->OnChanging = [this](TObject* Sender) { DoGradientChanging(Sender); };
  FGradient->OnChange = [this](TObject* Sender) { DoGradientChanged(Sender); };
}

void TKxDeShapeBase::ReleaseGradient() {
  if (!FGradient) return;
  FGradient->OnChanging = nullptr;
  FGradient->OnChange = nullptr;
  Free(FGradient);
}

void TKxDeShapeBase::SetBrush(const TKxDeShapeBrush* Value) {
  if (Value) FBrush.Assign(Value);
}

void TKxDeShapeBase::SetPen(const TKxDeShapePen* Value) {
  if (Value) FPen.Assign(Value);
}

void TKxDeShapeBase::SetFont(const TKxDeShapeFont* Value) {
  if (Value) Font()->Assign(Value);
}

void TKxDeShapeBase::SetPicture(const TKxDePicture* Value) {
  if (!Value) return;
  TKxDePicture* holder = Picture();
  DoPictureChanging(holder);
  holder->Assign(Value);
}

void TKxDeShapeBase::SetPictureStyle(TKxDeShapePictureStyle Value) {
  if (FPictureStyle == Value) return;
  DoPictureStyleChanging(this);
  FPictureStyle = Value;
  DoPictureStyleChanged(this);
}

void TKxDeShapeBase::SetGradient(const TKxDeShapeGradient* Value) {
  if (!FGradient || !Value) return;
  DoGradientChanging(FGradient);
  FGradient->Assign(Value);
}

void TKxDeShapeBase::SetBrushRec(const TKxDeBrushRec& Value) { FBrush.AssignRec(Value); }
void TKxDeShapeBase::SetPenRec(const TKxDePenRec& Value) { FPen.AssignRec(Value); }
void TKxDeShapeBase::SetFontRec(const TKxDeShapeFontRec& Value) { Font()->AssignRec(Value); }

void TKxDeShapeBase::SetGradientRec(const TKxDeShapeGradienthRec& Value) {
  if (FGradient) FGradient->AssignRec(Value);
}

bool TKxDeShapeBase::HasBrush() const {
  return FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesBrush) && FBrush.Color() != clNone &&
         FBrush.Style() != TBrushStyle::bsClear;
}

bool TKxDeShapeBase::HasPen() const {
  return FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPen) && FPen.Width() > 0 && FPen.Color() != clNone &&
         FPen.Style() != TPenStyle::psClear;
}

bool TKxDeShapeBase::HasGradient() const {
  return FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient) && FGradient && FGradient->GetColorBegin() != clNone &&
         FGradient->ColorEnd() != clNone && FGradient->Style() != TKxDeShapeGradientStyle::kxdgsNone;
}

bool TKxDeShapeBase::HasPicture() const {
  return FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture) && FPicture && !FPicture->GetEmpty();
}

bool TKxDeShapeBase::HasEmptyPicture() const {
  return FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture) && (!FPicture || FPicture->GetEmpty());
}

// The style handlers. Brush and pen announce an action after the change too; font, gradient,
// picture and picture style only before it.

void TKxDeShapeBase::DoBrushChanging(TObject* Sender) {
  AnnounceStyleChanging(this, TKxDeAction::kxacChangingBrush, FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesBrush),
                        [&] { BrushChanging(Sender); });
}

void TKxDeShapeBase::DoBrushChanged(TObject* Sender) {
  AnnounceStyleChanged(this, TKxDeAction::kxacChangingBrush, QStringLiteral("Brush"),
                       FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesBrush), [&] { BrushChanged(Sender); });
}

void TKxDeShapeBase::DoPenChanging(TObject* Sender) {
  AnnounceStyleChanging(this, TKxDeAction::kxacChangingPen, FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPen),
                        [&] { PenChanging(Sender); });
}

void TKxDeShapeBase::DoPenChanged(TObject* Sender) {
  AnnounceStyleChanged(this, TKxDeAction::kxacChangingPen, QStringLiteral("Pen"),
                       FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPen), [&] { PenChanged(Sender); });
}

void TKxDeShapeBase::DoFontChanging(TObject* Sender) {
  AnnounceStyleChanging(this, TKxDeAction::kxacChangingFont, FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesFont),
                        [&] { FontChanging(Sender); });
}

void TKxDeShapeBase::DoFontChanged(TObject* Sender) {
  FontChanged(Sender);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesFont)) Changed(false);
}

void TKxDeShapeBase::DoGradientChanging(TObject* Sender) {
  AnnounceStyleChanging(this, TKxDeAction::kxacChangingGradient,
                        FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient), [&] { GradientChanging(Sender); });
}

void TKxDeShapeBase::DoGradientChanged(TObject* Sender) {
  GradientChanged(Sender);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesGradient)) Changed(false);
}

void TKxDeShapeBase::DoPictureChanging(TObject* Sender) {
  AnnounceStyleChanging(this, TKxDeAction::kxacChangingPicture, FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture),
                        [&] { PictureChanging(Sender); });
}

void TKxDeShapeBase::DoPictureChanged(TObject* Sender) {
  PictureChanged(Sender);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture)) Changed(false);
}

void TKxDeShapeBase::DoPictureStyleChanging(TObject* Sender) {
  // Recorded for undo under the name "picture_style".
  TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("picture_style"));
  PictureStyleChanging(Sender);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture)) Changing();
}

void TKxDeShapeBase::DoPictureStyleChanged(TObject* Sender) {
  PictureStyleChanged(Sender);
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesPicture)) Changed(false);
}

// ---- Hint -----------------------------------------------------------------------------------------

void TKxDeShapeBase::GetMekOfficeHint(const TPointF&, TmekHintInfo& HintInfo) {
  HintInfo.Title = FName;
  if (TKxDeLayer* layer = GetLayer()) {
    HintInfo.AddLine(rsOwnerLayer() + QStringLiteral(": <B>") + layer->Name() + QStringLiteral("</B><BR>"));
    HintInfo.AddLine(rsPrintingAllowed() + QStringLiteral(": <B>") + TranslatedBool(layer->PrintingAllowed()) +
                     QStringLiteral("</B>"));
  }
  HintInfo.AddLine(QStringLiteral("<HR>"));
}

// ---- Hooks ----------------------------------------------------------------------------------------

void TKxDeShapeBase::PointAdded(TKxDePoint*) {}
void TKxDeShapeBase::PointRemoved(TKxDePoint*) {}
void TKxDeShapeBase::PointChanging(TKxDePoint*) {}
void TKxDeShapeBase::PointChanged(TKxDePoint*) {}
void TKxDeShapeBase::PointIsChanging(TKxDePoint*, float&, float&) {}
void TKxDeShapeBase::ControlAdded(TKxDeControl*) {}
void TKxDeShapeBase::ControlRemoved(TKxDeControl*) {}
void TKxDeShapeBase::ControlChanging(TKxDeControl*) {}
void TKxDeShapeBase::ControlChanged(TKxDeControl*) {}
void TKxDeShapeBase::ControlIsChanging(TKxDeControl*, float&, float&) {}
void TKxDeShapeBase::BrushChanging(TObject*) {}
void TKxDeShapeBase::FontChanging(TObject*) {}
void TKxDeShapeBase::PenChanging(TObject*) {}
void TKxDeShapeBase::PictureChanging(TObject*) {}
void TKxDeShapeBase::PictureStyleChanging(TObject*) {}
void TKxDeShapeBase::GradientChanging(TObject*) {}
void TKxDeShapeBase::BrushChanged(TObject*) {}
void TKxDeShapeBase::FontChanged(TObject*) {}
void TKxDeShapeBase::PenChanged(TObject*) {}
void TKxDeShapeBase::PictureChanged(TObject*) {}
void TKxDeShapeBase::PictureStyleChanged(TObject*) {}
void TKxDeShapeBase::GradientChanged(TObject*) {}
void TKxDeShapeBase::BeforeSetShapeStyle(TKxDeShapeStyles&) {}
void TKxDeShapeBase::ShapeStyleChanged() { Changed(false); }
void TKxDeShapeBase::DoChanging() {}
void TKxDeShapeBase::DoChanged(bool) {}
void TKxDeShapeBase::DoBeginUpdate() {}
void TKxDeShapeBase::DoEndUpdate() {}
void TKxDeShapeBase::DoBeforeMove(float, float) {}

}  // namespace vorn

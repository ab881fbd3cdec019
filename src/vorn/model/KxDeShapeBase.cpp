#include "vorn/model/KxDeShapeBase.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/KxDeUtils.h"
#include "vorn/common/ResStrs.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/model/KxDeContainer.h"
#include "vorn/model/KxDeControl.h"
#include "vorn/model/KxDeLayer.h"
#include "vorn/model/KxDePoint.h"
#include "vorn/model/KxDeShapeNotifier.h"
#include "vorn/surface/KxDeSurface.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace vorn {

namespace {

const QString kNoProp;

// Runs its closing step on every way out of a scope, as try/finally would.
template <class F>
class TFinally {
 public:
  explicit TFinally(F Step) : FStep(std::move(Step)) {}
  ~TFinally() { FStep(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F FStep;
};

// Left and top edges inside, right and bottom edges outside.
bool Contains(const TRectF& R, const TPointF& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool IsEmpty(const TRectF& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

bool Intersects(const TRectF& A, const TRectF& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
         std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

TRectF Inflate(const TRectF& R, float D) { return TRectF{R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

TRectF SquareAround(const TPointF& C, float Side) {
  const float h = Side / 2;
  return TRectF{C.X - h, C.Y - h, C.X + h, C.Y + h};
}

// P against R turned by Angle about Center.
bool InRotatedRect(const TRectF& R, float Angle, const TPointF& Center, const TPointF& P) {
  TDPointArray corners;
  R.RectToArray(corners);
  TDPointArray rotated;
  TKxDeUtils::RotatePolygon(corners, Angle, Center, rotated);
  return TKxDeUtils::PtInPolygon(rotated, P);
}

QString TranslatedBool(bool Value) {
  return Value ? QCoreApplication::translate("KxDeShapeBase", "True")
               : QCoreApplication::translate("KxDeShapeBase", "False");
}

}  // namespace

// ---- Construction and destruction -----------------------------------------------------------------

TKxDeShapeBase::TKxDeShapeBase(TKxDeSurface* ASurface, TKxDeContainer* AOwner) : FCreateOwner(AOwner) {
  FID = TKxDeUtils::GenerateGlobalUniqueID();
  FTempID = FID;
  FColor = 0xFFFFFF;
  // No children exist yet, so storing the surface is all that setting it means here.
  FSurface = ASurface;
  FWSpaceMtx = InitWSpaceMtx();
  FVisible = true;
  FPictureStyle = TKxDeShapePictureStyle::kxdspStretch;
  FShapeStyle += TKxDeShapeStyle::kxssCanHottrack;
  FShapeStyle += TKxDeShapeStyle::kxssUsesPen;
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
}

// ---- Identity -------------------------------------------------------------------------------------

void TKxDeShapeBase::AssignID(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeBase*>(Source)) FID = src->FID;
}

void TKxDeShapeBase::Assign(const TPersistent* Source) {
  if (auto* src = dynamic_cast<const TKxDeShapeBase*>(Source)) {
    FRefPoint = src->FRefPoint;
    FRefPointPushed = src->FRefPointPushed;
    FUserData1 = src->FUserData1;
    FUserData2 = src->FUserData2;
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
  Shape->StartAction(Shape, TKxDeAction::kxacChanging, PropName);
  Shape->NotifyUndo(Shape, TKxDeAction::kxacChanging, PropName);
  Field = Value;
  if (Deliver) Shape->Changed(false);
  Shape->EndAction(Shape, TKxDeAction::kxacChanging, PropName);
}

}  // namespace

void TKxDeShapeBase::SetName(const QString& Value) {
  SetTextProperty(this, FName, Value, QStringLiteral("Name"), true);
}

void TKxDeShapeBase::SetText(const QString& Value) {
  SetTextProperty(this, FText, Value, QStringLiteral("Text"), FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

void TKxDeShapeBase::SetCaption(const QString& Value) {
  SetTextProperty(this, FCaption, Value, QStringLiteral("Caption"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesCaption));
}

void TKxDeShapeBase::SetUserData1(const QString& Value) {
  SetTextProperty(this, FUserData1, Value, QStringLiteral("UserData1"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

void TKxDeShapeBase::SetUserData2(const QString& Value) {
  SetTextProperty(this, FUserData2, Value, QStringLiteral("UserData2"),
                  FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel));
}

void TKxDeShapeBase::SetVisible(bool Value) {
  if (FVisible == Value) return;
  const QString prop = QStringLiteral("Visible");
  StartAction(this, TKxDeAction::kxacChanging, prop);
  NotifyUndo(this, TKxDeAction::kxacChanging, prop);
  FVisible = Value;
  // Forced: the owner must hear that the shape disappeared, although it is now invisible.
  Changed(true);
  if (TKxDeSurface* s = GetSurface()) s->RefineSelections();
  EndAction(this, TKxDeAction::kxacChanging, prop);
}

void TKxDeShapeBase::SetLocked(bool Value) {
  if (FLocked == Value) return;
  const QString prop = QStringLiteral("Locked");
  StartAction(this, TKxDeAction::kxacChanging, prop);
  NotifyUndo(this, TKxDeAction::kxacChanging, prop);
  FLocked = Value;
  Changed(false);
  EndAction(this, TKxDeAction::kxacChanging, prop);
  if (TKxDeSurface* s = GetSurface()) s->RefineSelections();
}

void TKxDeShapeBase::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  // The brush and the gradient follow the shape colour once the style objects are attached.
}

void TKxDeShapeBase::SetShapeStyle(TKxDeShapeStyles Value) {
  BeforeSetShapeStyle(Value);
  if (Value == FShapeStyle) return;
  FShapeStyle = Value;
  // The gradient object is tied to kxssUsesGradient and is created or released with it.
  ShapeStyleChanged();
}

void TKxDeShapeBase::SetDataBehavior(TmekDataBehavior) {}

// ---- Owner chain ----------------------------------------------------------------------------------

TKxDeSurface* TKxDeShapeBase::GetSurface() const {
  if (FSurface) return FSurface;
  TKxDeLayer* layer = GetLayer();
  return layer && layer != this ? layer->GetSurface() : nullptr;
}

void TKxDeShapeBase::SetSurface(TKxDeSurface* Value) { FSurface = Value; }

TKxDeLayer* TKxDeShapeBase::GetLayer() const {
  // A layer is its own layer: its drawing area and hint are those of the page it is.
  for (const TKxDeShapeBase* s = this; s; s = s->FOwner)
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
  if (std::find(FNotifyList.begin(), FNotifyList.end(), Notifier) != FNotifyList.end()) return;
  FNotifyList.push_back(Notifier);
}

void TKxDeShapeBase::UnregisterNotifier(TKxDeShapeNotifier* Notifier) {
  auto it = std::find(FNotifyList.begin(), FNotifyList.end(), Notifier);
  if (it == FNotifyList.end()) return;
  FNotifyList.erase(it);
  if (FNotifyList.empty()) std::vector<TKxDeShapeNotifier*>().swap(FNotifyList);
}

void TKxDeShapeBase::NotifyChanging() {
  // By index: a handler may unregister its notifier meanwhile.
  for (size_t i = 0; i < FNotifyList.size(); ++i) FNotifyList[i]->Changing(this);
}

void TKxDeShapeBase::NotifyChange() {
  for (size_t i = 0; i < FNotifyList.size(); ++i) FNotifyList[i]->Changed(this);
}

void TKxDeShapeBase::NotifyDestroy() {
  while (!FNotifyList.empty()) {
    TKxDeShapeNotifier* n = FNotifyList.back();
    FNotifyList.pop_back();
    if (FNotifyList.empty()) std::vector<TKxDeShapeNotifier*>().swap(FNotifyList);
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
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  if (Point->FOwner) Point->FOwner->RemovePoint(Point);
  Point->FOwner = this;
  FPoints.push_back(Point);
  Point->FOnChanging = [this](TObject* Sender, float& x, float& y) {
    PointIsChanging(static_cast<TKxDePoint*>(Sender), x, y);
  };
  DoPointAdded(Point);
  Changed(false);
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
}

void TKxDeShapeBase::RemovePoint(TKxDePoint* Point) {
  if (!Point || Point->FOwner != this) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  Point->FOnChanging = nullptr;
  Point->FOwner = nullptr;
  // Points are mostly freed from the end: search from there.
  auto it = std::find(FPoints.rbegin(), FPoints.rend(), Point);
  if (it != FPoints.rend()) FPoints.erase(std::next(it).base());
  DoPointRemoved(Point);
  Changed(false);
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
}

void TKxDeShapeBase::ClearPoints() {
  if (FPoints.empty()) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  BeginUpdate();
  ++FChangeCount;
  FSelectionList.clear();
  while (!FPoints.empty()) {
    TKxDePoint* p = FPoints.back();
    FPoints.pop_back();
    p->FOnChanging = nullptr;
    p->FOwner = nullptr;
    Free(p);
  }
  EndUpdate();
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
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
  auto it = std::find(FSelectionList.begin(), FSelectionList.end(), Point);
  if (it != FSelectionList.end()) FSelectionList.erase(it);
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
  if (FSelectionList.size() == 1 && FSelectionList.front() == Point) return;
  FSelectionList.assign(1, Point);
  SelectionChanged();
}

void TKxDeShapeBase::AddSelection(TKxDePoint* Point) { AddSelections(&Point, 1); }

void TKxDeShapeBase::AddSelections(TKxDePoint* const* Points, int32_t Count) {
  if (!Points || Count <= 0) return;
  // Selecting many points at once must not compare every pair.
  std::unordered_set<const TKxDePoint*> selected;
  const bool useSet = Count > 8 && !FSelectionList.empty();
  if (useSet) selected.insert(FSelectionList.begin(), FSelectionList.end());
  bool changed = false;
  for (int32_t i = 0; i < Count; ++i) {
    TKxDePoint* p = Points[i];
    if (!p || p->FOwner != this) continue;
    const bool already = useSet ? !selected.insert(p).second
                                : std::find(FSelectionList.begin(), FSelectionList.end(), p) != FSelectionList.end();
    if (already) continue;
    FSelectionList.push_back(p);
    changed = true;
  }
  if (changed) SelectionChanged();
}

void TKxDeShapeBase::RemoveSelection(TKxDePoint* Point) { RemoveSelections(&Point, 1); }

void TKxDeShapeBase::RemoveSelections(TKxDePoint* const* Points, int32_t Count) {
  if (!Points || Count <= 0 || FSelectionList.empty()) return;
  const std::unordered_set<const TKxDePoint*> gone(Points, Points + Count);
  const size_t before = FSelectionList.size();
  std::erase_if(FSelectionList, [&gone](const TKxDePoint* p) { return gone.count(p) > 0; });
  if (FSelectionList.size() != before) SelectionChanged();
}

void TKxDeShapeBase::ClearSelection() {
  if (FSelectionList.empty()) return;
  FSelectionList.clear();
  SelectionChanged();
}

void TKxDeShapeBase::SelectAll() {
  if (FSelectionList == FPoints) return;
  FSelectionList = FPoints;
  SelectionChanged();
}

void TKxDeShapeBase::GetSelections(TKxDePointList& List) const { List = FSelectionList; }

void TKxDeShapeBase::UpdateSelection() {
  const size_t before = FSelectionList.size();
  std::erase_if(FSelectionList, [this](const TKxDePoint* p) { return p->FOwner != this; });
  if (FSelectionList.size() != before) SelectionChanged();
}

bool TKxDeShapeBase::IsSelected(const TKxDePoint* Point) const {
  if (FLocked || !Point) return false;
  return std::find(FSelectionList.begin(), FSelectionList.end(), Point) != FSelectionList.end();
}

bool TKxDeShapeBase::IsSelected(int32_t Index) const { return IsSelected(GetPoint(Index)); }

TKxDePoint* TKxDeShapeBase::Selections(int32_t Index) const {
  if (Index < 0 || Index >= SelectionCount()) return nullptr;
  return FSelectionList[static_cast<size_t>(Index)];
}

void TKxDeShapeBase::SelectionChanged() { Changed(false); }

// ---- Free control handles -------------------------------------------------------------------------

TKxDeControl* TKxDeShapeBase::GetControl(int32_t Index) const {
  if (Index < 0 || Index >= ControlCount()) return nullptr;
  return FControls[static_cast<size_t>(Index)];
}

int32_t TKxDeShapeBase::IndexOfControl(const TKxDeControl* Control) const {
  if (!Control || Control->FOwner != this) return -1;
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  return it == FControls.end() ? -1 : static_cast<int32_t>(it - FControls.begin());
}

bool TKxDeShapeBase::CanInsertControl(const TKxDeControl* Control) const {
  return Control && Control->FOwner != this;
}

void TKxDeShapeBase::InsertControl(TKxDeControl* Control) {
  if (!CanInsertControl(Control)) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  if (Control->FOwner) Control->FOwner->RemoveControl(Control);
  Control->FOwner = this;
  FControls.push_back(Control);
  Control->FOnChanging = [this](TObject* Sender, float& x, float& y) {
    ControlIsChanging(static_cast<TKxDeControl*>(Sender), x, y);
  };
  DoControlAdded(Control);
  Changed(false);
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
}

void TKxDeShapeBase::RemoveControl(TKxDeControl* Control) {
  if (!Control || Control->FOwner != this) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  Control->FOnChanging = nullptr;
  Control->FOwner = nullptr;
  auto it = std::find(FControls.rbegin(), FControls.rend(), Control);
  if (it != FControls.rend()) FControls.erase(std::next(it).base());
  DoControlRemoved(Control);
  Changed(false);
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
}

void TKxDeShapeBase::ClearControls() {
  if (FControls.empty()) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
  BeginUpdate();
  while (!FControls.empty()) {
    TKxDeControl* c = FControls.back();
    c->FOnChanging = nullptr;
    c->FOwner = nullptr;
    FControls.pop_back();
    Free(c);
  }
  EndUpdate();
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
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
  float l = FPoints.front()->Fx;
  float t = FPoints.front()->Fy;
  float r = l;
  float b = t;
  for (const TKxDePoint* p : FPoints) {
    l = std::min(l, p->Fx);
    r = std::max(r, p->Fx);
    t = std::min(t, p->Fy);
    b = std::max(b, p->Fy);
  }
  return TRectF{l, t, r, b};
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
  Shape->Changing();
  Shape->BeginUpdate();
  Shape->StartAction(Shape, TKxDeAction::kxacChanging, PropName);
  TFinally close([&] {
    Shape->EndAction(Shape, TKxDeAction::kxacChanging, PropName);
    Shape->EndUpdate();
  });
  Shape->NotifyUndo(Shape, TKxDeAction::kxacChanging, PropName);
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
  BeginUpdate();
  TFinally close([this] { EndUpdate(); });
  SetPositionAgainstRefPoint();
}

void TKxDeShapeBase::SetPositionAgainstRefPoint() {
  const TRectF b = GetBounds();
  MoveBy(FRefPoint.X - b.Left, FRefPoint.Y - b.Top);
}

void TKxDeShapeBase::ArrangeBoundsRect(TRectF& R) {
  if (R.Left > R.Right) std::swap(R.Left, R.Right);
  if (R.Top > R.Bottom) std::swap(R.Top, R.Bottom);
}

void TKxDeShapeBase::SnapBounds(const TRectF& R) {
  TRectF r = R;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  SnapBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TKxDeShapeBase::SnapBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TKxDeShapeBase::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  // A negative size keeps the given edge as the far one, horizontally and vertically alike.
  if (AWidth < 0) {
    AWidth = -AWidth;
    ALeft -= AWidth;
  }
  if (AHeight < 0) {
    AHeight = -AHeight;
    ATop -= AHeight;
  }
  if (FPoints.empty()) return;
  const TRectF b = GetBounds();
  if (b.Left == ALeft && b.Top == ATop && b.Width() == AWidth && b.Height() == AHeight) return;
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyChanging();
  BeginNotifyLock();
  BeginUpdate();
  {
    TFinally close([this] {
      EndUpdate();
      EndNotifyLock();
    });
    NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
    MoveBy(ALeft - b.Left, ATop - b.Top);
    Resize(AWidth, AHeight);
  }
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
}

void TKxDeShapeBase::MoveBy(float X, float Y) {
  if (FPointUpdate > 0 || FPoints.empty() || (X == 0 && Y == 0)) return;
  NotifyChanging();
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  BeginNotifyLock();
  BeginUpdate();
  BeginPointUpdate();
  {
    TFinally close([this] {
      EndPointUpdate();
      EndUpdate();
      EndNotifyLock();
    });
    NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
    // By index: a point's is-changing hook may not change the list, but must not crash if it does.
    for (size_t i = 0; i < FPoints.size(); ++i) {
      TKxDePoint* p = FPoints[i];
      p->SetPosition(p->Fx + X, p->Fy + Y);
    }
  }
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
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
  StartAction(this, TKxDeAction::kxacSizing, kNoProp);
  NotifyChanging();
  BeginNotifyLock();
  BeginUpdate();
  BeginPointUpdate();
  {
    TFinally close([this] {
      EndPointUpdate();
      EndUpdate();
      EndNotifyLock();
    });
    NotifyUndo(this, TKxDeAction::kxacSizing, kNoProp);
    for (size_t i = 0; i < FPoints.size(); ++i) {
      TKxDePoint* p = FPoints[i];
      p->SetPosition(b.Left + (p->Fx - b.Left) * sx, b.Top + (p->Fy - b.Top) * sy);
    }
  }
  EndAction(this, TKxDeAction::kxacSizing, kNoProp);
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
  const QString prop = QStringLiteral("Position");
  StartAction(this, TKxDeAction::kxacSizing, prop);
  NotifyUndo(this, TKxDeAction::kxacSizing, prop);
  SetPosition(RefPos, Ax * CoordsPixelsPerMMConvertValue, Ay * CoordsPixelsPerMMConvertValue);
  Changed(false);
  EndAction(this, TKxDeAction::kxacSizing, prop);
}

void TKxDeShapeBase::RecalculateBounds(bool) {}
void TKxDeShapeBase::Refine(float) {}

bool TKxDeShapeBase::InRect(const TRectF& R) const {
  if (IsEmpty(R) || FPoints.empty()) return false;
  for (size_t i = 0; i < FPoints.size(); ++i) {
    const TPointF p = FPoints[i]->GetValue();
    if (Contains(R, p)) return true;
    if (i > 0 && TKxDeUtils::DoLineIntersectRect(FPoints[i - 1]->GetValue(), p, R)) return true;
  }
  return false;
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
  TKxDeLayer* layer = GetLayer();
  if (!layer) return TRect{};
  TRectF area;
  if (TKxDeSurface* s = layer->GetSurface()) area = s->GetLayerRect();
  else area = layer->GetBounds();
  return TRect{0, 0, Round32(area.Width()), Round32(area.Height())};
}

// ---- Rotation -------------------------------------------------------------------------------------

void TKxDeShapeBase::SetRotation(float Value) {
  if (Value == FRotation) return;
  const QString prop = QStringLiteral("Rotation");
  StartAction(this, TKxDeAction::kxacChanging, prop);
  NotifyUndo(this, TKxDeAction::kxacChanging, prop);
  // Hundredths of a degree, rounded half to even, folded into [0, 360).
  const int64_t hundredths = Round(static_cast<double>(Value) * 100.0) % 36000;
  float r = static_cast<float>(static_cast<double>(hundredths) / 100.0);
  if (r < 0) r += 360;
  FRotation = r;
  EndAction(this, TKxDeAction::kxacChanging, prop);
  Changed(false);
}

void TKxDeShapeBase::SetRotationCenter(TKxDeRotationCenter Value) {
  if (Value == FRotationCenter) return;
  const QString prop = QStringLiteral("RotationPoint");
  StartAction(this, TKxDeAction::kxacChanging, prop);
  NotifyUndo(this, TKxDeAction::kxacChanging, prop);
  FRotationCenter = Value;
  if (FShapeStyle.Contains(TKxDeShapeStyle::kxssUsesLabel)) Changed(false);
  EndAction(this, TKxDeAction::kxacChanging, prop);
}

void TKxDeShapeBase::RotateAroundPoint(int32_t RotateAngle, const TPointF& RotatePt, const TPointF& TranslationPt) {
  const TPointF g = GetGravityCenter();
  SetRotation(FRotation + static_cast<float>(RotateAngle));
  const TPointF g2 = TKxDeUtils::RotatePoint(g, static_cast<float>(RotateAngle), RotatePt);
  MoveByWithRef(g2.X - g.X + TranslationPt.X, g2.Y - g.Y + TranslationPt.Y);
}

const QTransform& TKxDeShapeBase::InitWSpaceMtx() {
  static const QTransform identity(1, 0, 0, 1, 0, 0);
  return identity;
}

void TKxDeShapeBase::Translate(const TPointF& P) {
  const QTransform& m = FWSpaceMtx;
  FWSpaceMtx.setMatrix(m.m11(), m.m12(), m.m13(), m.m21(), m.m22(), m.m23(), m.m31() + P.X, m.m32() + P.Y,
                       m.m33());
}

void TKxDeShapeBase::Combine(const QTransform& M) { FWSpaceMtx = FWSpaceMtx * M; }

void TKxDeShapeBase::Rotate(const TPointF& RotationCenter, float Angle) {
  const double a = -static_cast<double>(Angle) * PiRadian;
  const double c = std::cos(a);
  const double s = std::sin(a);
  Translate(TPointF{-RotationCenter.X, -RotationCenter.Y});
  Combine(QTransform(c, s, -s, c, 0, 0));
  Translate(RotationCenter);
}

void TKxDeShapeBase::Rotate(float Angle, float OffsetX, float OffsetY, double Zoom) {
  if (!FShapeStyle.Contains(TKxDeShapeStyle::kxssCanRotate)) return;
  if (Angle == 0) {
    Rotate(TPointF{0, 0}, 0);
    return;
  }
  if (Zoom == 0) {
    TKxDeSurface* s = GetSurface();
    if (!s) return;
    Zoom = s->GetZoom();
  }
  TPointF center;
  if (FRotationCenter == TKxDeRotationCenter::kxdroRefPoint) {
    center.X = static_cast<float>(Round(FRefPoint.X * Zoom)) + OffsetX;
    center.Y = static_cast<float>(Round(FRefPoint.Y * Zoom)) + OffsetY;
  } else {
    const TRectF b = GetBounds();
    const auto z = static_cast<float>(Zoom);
    const TRectF d{b.Left * z + OffsetX, b.Top * z + OffsetY, b.Right * z + OffsetX, b.Bottom * z + OffsetY};
    switch (FRotationCenter) {
      case TKxDeRotationCenter::kxdroPtBottomLeft: center = {d.Left, d.Bottom}; break;
      case TKxDeRotationCenter::kxdroPtBottomRight: center = {d.Right, d.Bottom}; break;
      default: center = TKxDeUtils::RotationPt(d, TKxDeRotationCenter::kxdroPtGravity); break;
    }
  }
  Rotate(center, Angle);
}

void TKxDeShapeBase::SetRotationMatrix(TCanvas* C, float OffsetX, float OffsetY, double Zoom, float Angle) {
  if (!C) return;
  FWSpaceMtx = C->Transform();
  Rotate(Angle, OffsetX, OffsetY, Zoom);
  C->SetTransform(FWSpaceMtx);
}

// ---- Hit testing ----------------------------------------------------------------------------------

bool TKxDeShapeBase::PointOnShape(const TPointF& P, float Fuzz, bool) const {
  if (Fuzz < 0) Fuzz = 0;
  const TRectF b = GetBounds();
  const TRectF r = Inflate(b, Fuzz);
  if (FRotation == 0) return Contains(r, P);
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
    const TRectF square = SquareAround(spot, Fuzz);
    if (!rotated) {
      if (Contains(square, P)) return i;
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
    const TKxDeControl* c = FControls[static_cast<size_t>(i)];
    const TPointF spot{static_cast<float>(Round(c->Fx)), static_cast<float>(Round(c->Fy))};
    if (spot == P) return i;
    if (Fuzz > 0 && Contains(SquareAround(spot, Fuzz), P)) return i;
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
  if (Hit.HitType == TKxDeHitType::kxhtPoint && Hit.State == TKxDeShapeHitState::kxhsSelected &&
      Hit.PartIndex >= 0) {
    const auto q = TKxDeUtils::Quadrant(FRotation);
    const bool odd = q == TKxDeSizeRotation::kxsrSouthWest || q == TKxDeSizeRotation::kxsrNorthEast;
    const bool mainDiagonal = Hit.PartIndex == 0 || Hit.PartIndex == 2;
    if (mainDiagonal) return odd ? crSizeNWSE : crSizeNESW;
    return odd ? crSizeNESW : crSizeNWSE;
  }
  if (Hit.HitType == TKxDeHitType::kxhtPoint || Hit.HitType == TKxDeHitType::kxhtShape) return crSizeAll;
  return crDefault;
}

// ---- Painting -------------------------------------------------------------------------------------

void TKxDeShapeBase::Paint(TCanvas*, float, float, double, int32_t, PmekDeviceCapsInfo) {}

void TKxDeShapeBase::DrawSelection(TCanvas*, int32_t, int32_t, const TKxDeDragPoint&, const TKxDeSelectionData&,
                                   double) {}

void TKxDeShapeBase::PaintIn(TCanvas* C, float X, float Y, double Zoom, const TRectF& R) {
  if (IsEmpty(R)) return;
  if (InRect(R) || Intersects(GetBounds(), R)) Paint(C, X, Y, Zoom, 0, nullptr);
}

void TKxDeShapeBase::DrawSelectionIn(TCanvas* C, int32_t X, int32_t Y, const TKxDeDragPoint& DragPoint,
                                     const TKxDeSelectionData& Data, const TRectF& R, double Zoom) {
  if (!IsEmpty(R) && InRect(R)) DrawSelection(C, X, Y, DragPoint, Data, Zoom);
}

void TKxDeShapeBase::DrawPoint(TCanvas* Canvas, const TRect& R, TColor FrameColor, TColor FillColor) {
  if (!Canvas || R.Right <= R.Left || R.Bottom <= R.Top) return;
  if (FrameColor == clNone && FillColor == clNone) return;
  TPen* pen = Canvas->Pen();
  pen->SetWidth(1);
  pen->SetMode(TPenMode::pmCopy);
  pen->SetColor(FrameColor != clNone ? FrameColor : FillColor);
  pen->SetStyle(TPenStyle::psSolid);
  TBrush* brush = Canvas->Brush();
  if (FillColor != clNone) {
    brush->SetColor(FillColor);
    brush->SetStyle(TBrushStyle::bsSolid);
  } else {
    brush->SetStyle(TBrushStyle::bsClear);
  }
  Canvas->Rectangle(R);
}

void TKxDeShapeBase::UpdateRegion() {}
void TKxDeShapeBase::SetRegion(const QRegion&) {}

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

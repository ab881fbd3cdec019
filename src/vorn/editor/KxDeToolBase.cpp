#include "vorn/editor/KxDeToolBase.h"

#include "vorn/common/Rounding.h"
#include "vorn/editor/KxDeEditor.h"

#include <utility>

namespace vorn {

TKxDeToolBase::TKxDeToolBase(TKxDeCustomEditor* AEditor) : FPendingEditor(AEditor) {}

TKxDeToolBase::~TKxDeToolBase() = default;

void TKxDeToolBase::AfterConstruction() {
  TPersistent::AfterConstruction();
  // Attaching announces a change, which dispatches virtually: only now is the object whole.
  if (TKxDeCustomEditor* e = std::exchange(FPendingEditor, nullptr)) e->SetCurrentTool(this);
}

void TKxDeToolBase::BeforeDestruction() {
  if (FEditor) FEditor->SetCurrentTool(nullptr);
  TPersistent::BeforeDestruction();
}

void TKxDeToolBase::Assign(const TPersistent* Source) {
  const auto* tool = dynamic_cast<const TKxDeToolBase*>(Source);
  if (!tool) {
    TPersistent::Assign(Source);
    return;
  }
  if (tool == this) return;
  FPoints = tool->FPoints;
  Changed();
}

TObject* TKxDeToolBase::GetOwner() const { return FEditor; }

TPointF TKxDeToolBase::GetPoint(int32_t I) const {
  return I >= 0 && I < GetCount() ? FPoints[static_cast<size_t>(I)] : TPointF{};
}

void TKxDeToolBase::SetPoint(int32_t I, const TPointF& P) {
  if (I < 0 || I >= GetCount() || FPoints[static_cast<size_t>(I)] == P) return;
  FPoints[static_cast<size_t>(I)] = P;
  Changed();
}

void TKxDeToolBase::Add(const TPointF& P) {
  FPoints.push_back(P);
  Changed();
}

void TKxDeToolBase::Delete(int32_t I) {
  if (I < 0 || I >= GetCount()) return;
  FPoints.erase(FPoints.begin() + I);
  Changed();
}

void TKxDeToolBase::Clear() {
  if (FPoints.empty()) return;
  FPoints.clear();
  Changed();
}

void TKxDeToolBase::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FChangeCount > 0) Changed();
}

void TKxDeToolBase::Changed() {
  if (FUpdateCount > 0) {
    ++FChangeCount;
    return;
  }
  FChangeCount = 0;
  DoChanged();
}

void TKxDeToolBase::DoChanged() {
  if (FEditor) FEditor->update();
  CallEvent(OnChange, this);
}

void TKxDeToolBase::Paint(TCanvas*, int32_t, int32_t, const TKxDeToolPaintData&, double) {}

void TKxDeToolBase::Process() {}

TPoint TKxDeToolBase::ScreenPoint(const TPointF& P, int32_t X, int32_t Y, double Zoom) {
  return TPoint{X + Round32(P.X * Zoom), Y + Round32(P.Y * Zoom)};
}

}  // namespace vorn

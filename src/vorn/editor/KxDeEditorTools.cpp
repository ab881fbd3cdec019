// The editor as the host of a tool: attaching and detaching it, handing it the points of a
// gesture in kxesToolEdit, and painting it.

#include "vorn/editor/KxDeEditor.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Finally_p.h"
#include "vorn/common/Rounding.h"
#include "vorn/editor/EditorLog_p.h"
#include "vorn/editor/KxDeToolBase.h"

#include <QPainter>

#include <exception>
#include <utility>

namespace vorn {

using enum TKxDeEditState;

namespace {

// Runs a step of a host's tool; a tool that raises loses its gesture, not the editor.
template <class F>
bool Guarded(TKxDeToolBase* Tool, F&& Step) {
  try {
    Step();
    return true;
  } catch (const std::exception& E) {
    qCDebug(lcEditor) << "tool" << Tool->ClassName() << "failed:" << E.what();
  } catch (...) {
    qCDebug(lcEditor) << "tool" << Tool->ClassName() << "failed";
  }
  return false;
}

}  // namespace

void TKxDeCustomEditor::SetCurrentTool(TKxDeToolBase* Tool) {
  if (Tool != FCurrentTool) {
    FToolGesture = false;
    if (TKxDeToolBase* old = std::exchange(FCurrentTool, nullptr)) {
      old->FEditor = nullptr;
      old->Changed();
    }
    if (Tool) {
      // A tool serves one editor at a time.
      if (Tool->FEditor) Tool->FEditor->SetCurrentTool(nullptr);
      Tool->BeginUpdate();
      TFinally end([Tool] { Tool->EndUpdate(); });
      Tool->FEditor = this;
      FCurrentTool = Tool;
      Tool->Clear();
      Tool->Changed();
    }
  }
  SetEditState(FCurrentTool ? kxesToolEdit : kxesNone);
}

void TKxDeCustomEditor::ToolPress(const TPointF& P) {
  TKxDeToolBase* t = FCurrentTool;
  if (!t) return;
  // A gesture lays down a new list of points.
  FToolGesture = Guarded(t, [t, &P] {
    t->BeginUpdate();
    TFinally end([t] { t->EndUpdate(); });
    t->Clear();
    t->Add(P);
  });
}

void TKxDeCustomEditor::ToolDrag(const TPointF& P) {
  TKxDeToolBase* t = FCurrentTool;
  if (!FToolGesture || !t) return;
  if (!Guarded(t, [t, &P] { t->Add(P); })) FToolGesture = false;
}

void TKxDeCustomEditor::ToolRelease(const TPointF& P) {
  TKxDeToolBase* t = FCurrentTool;
  if (!std::exchange(FToolGesture, false) || !t) return;
  Guarded(t, [t, &P] {
    // A release where the last move was adds nothing new.
    if (t->GetCount() == 0 || !(t->GetPoint(t->GetCount() - 1) == P)) t->Add(P);
    t->Process();
  });
}

void TKxDeCustomEditor::DrawTool(TCanvas* C) {
  TKxDeToolBase* t = FCurrentTool;
  if (!t || !FMoveSize->Draws()) return;
  TRect r;
  TRectF rf;
  LayerBounds(r, rf);
  const TKxDeToolPaintData data{FMoveSize->LineColor(), FMoveSize->LineStyle(), FMoveSize->LineMode()};
  QPainter* p = C->Painter();
  p->save();
  Guarded(t, [&] { t->Paint(C, Round32(rf.Left), Round32(rf.Top), data, GetZoom()); });
  p->restore();
}

}  // namespace vorn

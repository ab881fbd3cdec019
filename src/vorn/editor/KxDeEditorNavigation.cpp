// Zoom and pan gestures of the editor.

#include "vorn/editor/KxDeEditorNavigation_p.h"

#include "vorn/common/Rounding.h"
#include "vorn/editor/KxDeEditor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>

#include <cmath>

namespace vorn {

namespace {
constexpr double kWheelNotchFactor = 1.25;  // one notch of Ctrl + wheel zooms by a quarter
}

TKxDeEditorNavigation::TKxDeEditorNavigation(TKxDeCustomEditor* Editor) : QObject(Editor), FEditor(Editor) {}

bool TKxDeEditorNavigation::eventFilter(QObject*, QEvent* Event) {
  switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return Key(Event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return Mouse(Event);
    case QEvent::Wheel: {
      auto* w = static_cast<QWheelEvent*>(Event);
      if (!FEditor->WheelZoom() || w->modifiers() != Qt::ControlModifier || w->angleDelta().y() == 0) return false;
      ZoomBy(std::pow(kWheelNotchFactor, w->angleDelta().y() / 120.0), w->position());
      return true;
    }
    case QEvent::NativeGesture: {
      auto* g = static_cast<QNativeGestureEvent*>(Event);
      if (!FEditor->PinchZoom() || g->gestureType() != Qt::ZoomNativeGesture) return false;
      ZoomBy(1 + g->value(), g->position());
      return true;
    }
    case QEvent::FocusOut:
      FSpace = false;
      EndPan();
      return false;
    default: return false;
  }
}

bool TKxDeEditorNavigation::Key(QEvent* Event) {
  auto* k = static_cast<QKeyEvent*>(Event);
  if (k->key() != Qt::Key_Space || !FEditor->DragPan()) return false;
  if (k->isAutoRepeat()) return FSpace;
  if (Event->type() == QEvent::KeyPress) {
    if (FEditor->EditState() != TKxDeEditState::kxesNone || FSpace) return false;
    FSpace = true;
    FCursor = FEditor->cursor();
    FEditor->setCursor(Qt::OpenHandCursor);
    return true;
  }
  if (!FSpace) return false;
  FSpace = false;
  if (FPanButton == Qt::NoButton) FEditor->setCursor(FCursor);
  return true;
}

bool TKxDeEditorNavigation::Mouse(QEvent* Event) {
  auto* m = static_cast<QMouseEvent*>(Event);
  const QPoint at = m->position().toPoint();
  if (FPanButton != Qt::NoButton) {
    if (Event->type() == QEvent::MouseMove) {
      const QPoint d = at - FLast;
      FLast = at;
      FEditor->SetLayerOffset(FEditor->HorizontalPos() + d.x(), FEditor->VerticalPos() + d.y());
    } else if (Event->type() == QEvent::MouseButtonRelease && m->button() == FPanButton) {
      EndPan();
    }
    return true;
  }
  if (Event->type() != QEvent::MouseButtonPress || !FEditor->DragPan() ||
      FEditor->EditState() != TKxDeEditState::kxesNone)
    return false;
  if (m->button() == Qt::MiddleButton || (m->button() == Qt::LeftButton && FSpace)) {
    if (!FSpace) FCursor = FEditor->cursor();
    FPanButton = m->button();
    FLast = at;
    FEditor->setCursor(Qt::ClosedHandCursor);
    return true;
  }
  return false;
}

void TKxDeEditorNavigation::EndPan() {
  if (FPanButton == Qt::NoButton) return;
  FPanButton = Qt::NoButton;
  if (FSpace) FEditor->setCursor(Qt::OpenHandCursor);
  else FEditor->setCursor(FCursor);
}

void TKxDeEditorNavigation::ZoomBy(double Factor, const QPointF& At) {
  // Small steps add up: a run of steps continues from where the last one got, not from the
  // rounded zoom, as long as nobody else zoomed or scrolled in between.
  // The world point under the pointer is taken once per run, so that rounding does not drift.
  const TPointF anchor{static_cast<float>(At.x()), static_cast<float>(At.y())};
  const TPointF shown = FEditor->LayerToScreen(FWorld);
  if (Round32(FZoom) != FEditor->Zoom() || !(anchor == FAnchor) || std::abs(shown.X - anchor.X) > 2 ||
      std::abs(shown.Y - anchor.Y) > 2) {
    FZoom = FEditor->Zoom();
    FAnchor = anchor;
    FWorld = FEditor->ScreenToLayer(anchor);
  }
  FZoom = std::clamp(FZoom * Factor, 1.0, 10000.0);
  FEditor->ZoomAbout(Round32(FZoom), FWorld, anchor);
}

}  // namespace vorn

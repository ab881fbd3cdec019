#pragma once
// TKxDeEditorNavigation: zooming and panning gestures an editor offers beside its own: Ctrl + wheel
// and trackpad pinches zoom about the pointer, the middle button or Space + left button drag the
// page. It watches the editor's events as an event filter and takes only the ones it acts on, so
// with the editor's options off the editor sees every event as before.

#include "vorn/common/Records.h"

#include <QCursor>
#include <QObject>
#include <QPoint>

namespace vorn {

class TKxDeCustomEditor;

class TKxDeEditorNavigation : public QObject {
 public:
  explicit TKxDeEditorNavigation(TKxDeCustomEditor* Editor);

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  bool Key(QEvent* Event);
  bool Mouse(QEvent* Event);
  // Zooms to Factor times the zoom reached so far by this gesture.
  void ZoomBy(double Factor, const QPointF& At);
  void EndPan();

  TKxDeCustomEditor* FEditor;
  bool FSpace = false;                        // Space is held
  Qt::MouseButton FPanButton = Qt::NoButton;  // the button dragging the page
  QPoint FLast;
  // A run of wheel or pinch steps: the zoom it has reached, unrounded, and the world point it
  // keeps under the window point FAnchor.
  double FZoom = 0;
  TPointF FAnchor;
  TPointF FWorld;
  QCursor FCursor;  // the editor's cursor before Space was pressed
};

}  // namespace vorn

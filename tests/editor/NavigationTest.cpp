// Zooming and panning: Ctrl + wheel and pinches about the pointer, dragging the page with the
// middle button or Space, and the zoom commands.

#include "EditorFixture.h"

#include <QApplication>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QWheelEvent>

namespace vorn::test {
namespace {

class Navigation : public TEditorWindow<> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    E.show();
    E.SetZoom(200);  // the page (720 x 480 pixels) is larger than the view
  }
  void Wheel(QPoint At, int Delta, Qt::KeyboardModifiers Keys) {
    QWheelEvent w(At, E.mapToGlobal(At), QPoint(), QPoint(0, Delta), Qt::NoButton, Keys, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&E, &w);
  }
  void Pinch(QPoint At, double Value) {
    QNativeGestureEvent g(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, At, At, E.mapToGlobal(At),
                          Value, QPointF(), 1);
    QApplication::sendEvent(&E, &g);
  }
};

TEST_F(Navigation, WheelAndPinchZoomAboutThePointer) {
  // Scrolled into the page, so that there is room to keep the point both ways.
  E.SetLayerOffset(-150, -100);
  const QPoint at(150, 120);
  // Zoom must then show the same world point under the pointer.
  auto keepsThePoint = [&](const std::function<void()>& Zoom) {
    const TPointF under = E.ScreenToLayer(TPointF{150, 120});
    Zoom();
    const TPointF now = E.LayerToScreen(under);
    return std::abs(now.X - 150) <= 1 && std::abs(now.Y - 120) <= 1;
  };
  // Off by default: Ctrl + wheel goes to the host's event and the zoom stays.
  int told = 0;
  E.OnMouseWheelZoom = [&](TObject*, int16_t) { ++told; };
  Wheel(at, 120, Qt::ControlModifier);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(E.Zoom(), 200);
  E.SetWheelZoom(true);
  EXPECT_TRUE(keepsThePoint([&] { Wheel(at, 120, Qt::ControlModifier); }));
  EXPECT_EQ(E.Zoom(), 250);
  EXPECT_TRUE(keepsThePoint([&] { Wheel(at, -240, Qt::ControlModifier); }));
  EXPECT_EQ(E.Zoom(), 160);
  EXPECT_EQ(told, 1);
  // Pinch steps add up unrounded: ten steps of 1 % make 10.5 %, not ten rounded steps.
  E.SetZoom(300);
  EXPECT_TRUE(keepsThePoint([&] {
    for (int i = 0; i < 10; ++i) Pinch(at, 0.01);
  }));
  EXPECT_EQ(E.Zoom(), 331);
  E.SetPinchZoom(false);
  Pinch(at, 0.5);
  EXPECT_EQ(E.Zoom(), 331);
}

TEST_F(Navigation, MiddleButtonAndSpaceDragThePageWithoutTouchingShapes) {
  const TPointF before = E.LayerToScreen(TPointF{60, 60});
  // Across shape A: a left drag would move it.
  for (bool space : {false, true}) {
    SCOPED_TRACE(space ? "space" : "middle");
    const TPointF start = E.LayerToScreen(TPointF{60, 60});
    const Qt::MouseButton button = space ? Qt::LeftButton : Qt::MiddleButton;
    if (space) QTest::keyPress(&E, Qt::Key_Space);
    QTest::mousePress(&E, button, {}, At(50, 50));
    QTest::mouseMove(&E, At(50, 50) + QPoint(-30, -20));
    QTest::mouseRelease(&E, button, {}, At(50, 50) + QPoint(-30, -20));
    if (space) QTest::keyRelease(&E, Qt::Key_Space);
    const TPointF now = E.LayerToScreen(TPointF{60, 60});
    EXPECT_EQ(now.X - start.X, -30);
    EXPECT_EQ(now.Y - start.Y, -20);
  }
  EXPECT_EQ(A->GetBounds(), (TRectF{20, 20, 80, 80}));
  EXPECT_EQ(E.SelectionCount(), 0);
  EXPECT_NE(E.LayerToScreen(TPointF{60, 60}).X, before.X);
  // Without DragPan a Space + left drag is the editor's own again: it moves A.
  E.SetDragPan(false);
  QTest::keyPress(&E, Qt::Key_Space);
  Drag(At(50, 50), At(50, 50) + QPoint(20, 0));
  EXPECT_GT(A->GetBounds().Left, 20);
}

TEST_F(Navigation, ZoomCommandsFitThePageAndTheSelection) {
  TKxDeEditorActions actions(&E);
  EXPECT_FALSE(actions.ZoomToSelectionAction()->isEnabled());
  actions.ZoomToPageAction()->trigger();
  // 360 x 240 in 420 x 320 less the indent on both sides (no scroll bars are needed), centred.
  TRect c;
  TRectF page;
  E.LayerBounds(c, page);
  const double room = 2.0 * E.Indent();
  EXPECT_EQ(c.Width(), 420);
  EXPECT_EQ(E.Zoom(), static_cast<int>(std::min((c.Width() - room) / 360, (c.Height() - room) / 240) * 100));
  EXPECT_NEAR(page.Left - c.Left, c.Right - page.Right, 1);
  EXPECT_NEAR(page.Top - c.Top, c.Bottom - page.Bottom, 1);
  // The selection (a 60 x 60 box in the middle of the page) fills the height, centred.
  A->SetBounds(150, 90, 60, 60);
  E.Select(A);
  actions.ZoomToSelectionAction()->trigger();
  E.LayerBounds(c, page);
  const TPointF a = E.LayerToScreen(TPointF{150, 90}), b = E.LayerToScreen(TPointF{210, 150});
  EXPECT_NEAR(a.Y - c.Top, c.Bottom - b.Y, 1);
  EXPECT_NEAR(a.X - c.Left, c.Right - b.X, 1);
  EXPECT_LE(b.Y - a.Y, c.Height() - room);
  EXPECT_GT(b.Y - a.Y, c.Height() - room - 2);
  actions.ZoomOneToOneAction()->trigger();
  EXPECT_EQ(E.Zoom(), 100);
  actions.ZoomInAction()->trigger();
  EXPECT_EQ(E.Zoom(), 125);
}

}  // namespace
}  // namespace vorn::test

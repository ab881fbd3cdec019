// The viewer's shape events, driven with the mouse and the wheel as a user would.

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeViewer.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <string>
#include <vector>

namespace vorn::test {
namespace {

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    V.resize(400, 350);
    V.Layer()->SetBounds(300, 200);
    auto* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&V));
    A = Box(layer, 20, 20);
    B = Box(layer, 120, 20);
    V.OnShapeDown = [this](TObject*, TKxDeShapeBase* S) { Log.push_back("down " + Name(S)); };
    V.OnShapeUp = [this](TObject*, TKxDeShapeBase* S) { Log.push_back("up " + Name(S)); };
    V.OnShapeMove = [this](TObject*, TKxDeShapeBase* S) { Log.push_back("move " + Name(S)); };
    V.show();
  }
  static TKxDeShapeBase* Box(TKxDeLayer* L, float X, float Y) {
    auto* s = Create<TVornRectangle>(nullptr, L);
    s->SetBounds(X, Y, 60, 60);
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    return s;
  }
  std::string Name(const TKxDeShapeBase* S) const { return S == A ? "A" : S == B ? "B" : S ? "?" : "none"; }
  // The window pixel of world point (X, Y).
  QPoint At(float X, float Y) const {
    const TPointF p = V.LayerToScreen(TPointF{X, Y});
    return QPoint(static_cast<int>(p.X), static_cast<int>(p.Y));
  }
  std::vector<std::string> Take() { return std::exchange(Log, {}); }

  TKxDeViewer V;
  TKxDeShapeBase* A = nullptr;
  TKxDeShapeBase* B = nullptr;
  std::vector<std::string> Log;
};

using Strings = std::vector<std::string>;

TEST_F(Viewer, HoverTellsEachShapeEnteredAndLeftOnce) {
  for (QPoint p : {At(5, 5), At(30, 30), At(40, 40), At(50, 50), At(100, 40), At(130, 30), At(170, 70), At(250, 150)})
    QTest::mouseMove(&V, p);
  EXPECT_EQ(Take(), (Strings{"move A", "move none", "move B", "move none"}));
}

TEST_F(Viewer, PressAndReleaseNameThePressedShape) {
  QTest::mousePress(&V, Qt::LeftButton, {}, At(5, 5));
  QTest::mouseRelease(&V, Qt::LeftButton, {}, At(5, 5));
  EXPECT_EQ(Take(), (Strings{"down none"}));

  // Pressed on A, dragged over B, released there: no hover news during the drag, the release
  // names A. B was already taken as the shape under the pointer during the drag, so releasing
  // over it tells nothing more.
  QTest::mousePress(&V, Qt::RightButton, {}, At(30, 30));
  QTest::mouseMove(&V, At(80, 30));
  QTest::mouseMove(&V, At(130, 30));
  QTest::mouseRelease(&V, Qt::RightButton, {}, At(130, 30));
  EXPECT_EQ(Take(), (Strings{"down A", "move A", "up A"}));
  // Released elsewhere than during the drag: the shape under the pointer changes then.
  QTest::mousePress(&V, Qt::LeftButton, {}, At(130, 30));
  QTest::mouseRelease(&V, Qt::LeftButton, {}, At(250, 150));
  EXPECT_EQ(Take(), (Strings{"down B", "up B", "move none"}));
}

TEST_F(Viewer, ADeletedHotShapeIsForgotten) {
  QTest::mouseMove(&V, At(30, 30));
  Take();
  Free(A);
  A = nullptr;
  QTest::mouseMove(&V, At(5, 5));
  EXPECT_TRUE(Take().empty()) << "the hot shape went with the document";
  EXPECT_EQ(V.HotShape(), nullptr);
}

TEST_F(Viewer, CtrlWheelGoesToTheHost) {
  auto wheel = [this](Qt::KeyboardModifiers M) {
    QWheelEvent e(QPointF(At(30, 30)), V.mapToGlobal(QPointF(At(30, 30))), QPoint(), QPoint(0, 120), Qt::NoButton, M,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&V, &e);
  };
  wheel(Qt::ControlModifier);  // no handler: nothing happens
  EXPECT_EQ(V.Zoom(), 100);
  std::vector<int> deltas;
  V.OnMouseWheelZoom = [&](TObject*, int16_t D) { deltas.push_back(D); };
  wheel(Qt::ControlModifier);
  EXPECT_EQ(deltas, std::vector<int>{120});
  EXPECT_EQ(V.Zoom(), 100) << "the viewer zooms only when the host says so";
}

}  // namespace
}  // namespace vorn::test

// What a screen reader sees of editors and viewers: the shapes as children with their names,
// screen bounds and selection, Tab and Shift+Tab going through the shapes, and interfaces that
// go when their shapes or their control go.

#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeViewer.h>

#include "EditorFixture.h"

#include <QAccessible>
#include <QApplication>

namespace vorn::test {
namespace {

class Accessibility : public TEditorWindow<> {
 protected:
  void SetUp() override {
    RegisterVornShapes();
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    B = Box("B", 120, 20);
    C = Box("C", 20, 140);
    E.show();
    QApplication::setActiveWindow(&E);
    E.setFocus();
  }
  QAccessibleInterface* Editor() const {
    return QAccessible::queryAccessibleInterface(const_cast<TRecordingEditor*>(&E));
  }
  // The names of the children, and which are selected.
  std::string Children(bool SelectedOnly = false) const {
    std::string out;
    QAccessibleInterface* e = Editor();
    for (int i = 0; i < e->childCount(); ++i)
      if (!SelectedOnly || e->child(i)->state().selected)
        out += e->child(i)->text(QAccessible::Name).toStdString() + " ";
    return out;
  }
  TKxDeShapeBase* A = nullptr;
  TKxDeShapeBase* B = nullptr;
  TKxDeShapeBase* C = nullptr;
};

TEST_F(Accessibility, ShapesAreChildrenWithTheirNamesBoundsAndSelection) {
  QAccessibleInterface* e = Editor();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->role(), QAccessible::Canvas);
  EXPECT_EQ(e->text(QAccessible::Name), QStringLiteral("Drawing editor"));
  EXPECT_EQ(Children(), "A B C ");
  // Without a name a shape says what it is and what it shows.
  C->SetName(QString());
  C->SetText(QStringLiteral("Fragile"));
  EXPECT_EQ(Children(), "A B Rectangle Fragile ");
  EXPECT_EQ(e->child(2)->text(QAccessible::Value), QStringLiteral("Fragile"));
  // Bounds on screen, turned shapes by their turned extent; the point in a shape finds it.
  B->SetRotation(90);  // 60 x 60 about its centre: the same square
  for (auto [shape, index] : {std::pair{A, 0}, {B, 1}}) {
    const TRectF b = shape->GetBounds();
    const QRect r = e->child(index)->rect();
    EXPECT_LE((r.topLeft() - E.mapToGlobal(At(b.Left, b.Top))).manhattanLength(), 1) << index;
    EXPECT_LE((r.bottomRight() - E.mapToGlobal(At(b.Right, b.Bottom))).manhattanLength(), 2) << index;
    EXPECT_EQ(e->childAt(r.center().x(), r.center().y()), e->child(index)) << index;
    EXPECT_EQ(e->indexOfChild(e->child(index)), index);
    EXPECT_EQ(e->child(index)->parent(), e);
  }
  // Selection and the focused shape follow the editor; a locked shape cannot be selected.
  E.SelectList({A, B});
  EXPECT_EQ(Children(true), "A B ");
  EXPECT_TRUE(e->child(1)->state().focused) << "the last selected";
  EXPECT_EQ(e->focusChild(), e->child(1));
  C->SetLocked(true);
  EXPECT_FALSE(e->child(2)->state().selectable);
  EXPECT_TRUE(e->child(0)->state().multiSelectable);
}

TEST_F(Accessibility, TabAndShiftTabGoThroughTheSelectableShapesOfTheActiveLayer) {
  B->SetLocked(true);
  // One shape of another layer, not visited: the active layer stays the first.
  auto* other = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&E));
  Create<TVornRectangle>(nullptr, other)->SetBounds(200, 100, 20, 20);
  E.SetActiveLayer(Layer);
  std::string seen;
  for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab, Qt::Key_Tab}) {
    QTest::keyClick(&E, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    seen += (Selected().empty() ? "-" : Selected()) + " ";
  }
  // Past the last shape the selection is let go; the next Tab starts at the bottom again.
  EXPECT_EQ(seen, "A C A C - ");
  QTest::keyClick(&E, Qt::Key_Tab);
  EXPECT_EQ(Selected(), "A");
  E.ClearSelection();
  EXPECT_TRUE(E.SelectNextShape(false));
  EXPECT_EQ(Selected(), "C") << "backwards from nothing: the top shape";
}

TEST_F(Accessibility, InterfacesGoWithTheirShapesAndTheirControl) {
  QAccessibleInterface* e = Editor();
  const QAccessible::Id c = QAccessible::uniqueId(e->child(2));
  Free(C);
  EXPECT_EQ(QAccessible::accessibleInterface(c), nullptr);
  EXPECT_EQ(Children(), "A B ");
  // A hidden layer's shapes are not children.
  Layer->SetVisible(false);
  EXPECT_EQ(e->childCount(), 0);

  // A viewer shows its shapes too, none of them selectable; it may go while its interfaces exist.
  auto* viewer = new TKxDeViewer;
  auto* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(viewer));
  Create<TVornEllipse>(nullptr, layer)->SetBounds(10, 10, 40, 20);
  QAccessibleInterface* v = QAccessible::queryAccessibleInterface(viewer);
  ASSERT_EQ(v->childCount(), 1);
  EXPECT_EQ(v->child(0)->text(QAccessible::Name), QStringLiteral("Ellipse"));
  EXPECT_FALSE(v->child(0)->state().selectable);
  const QAccessible::Id shape = QAccessible::uniqueId(v->child(0));
  delete viewer;
  EXPECT_EQ(QAccessible::accessibleInterface(shape), nullptr);
}

}  // namespace
}  // namespace vorn::test

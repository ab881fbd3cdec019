// What a screen reader sees of editors and viewers: the shapes as children with their names,
// screen bounds and selection, Tab and Shift+Tab going through the shapes, and interfaces that
// go when their shapes or their control go.

#include <vorn/shapes/VornShapes.h>

#include "EditorFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QtMath>

namespace vorn::test {
namespace {

class Accessibility : public TEditorWindow<> {
 protected:
  void SetUp() override {
    RegisterVornShapes();
    TEditorWindow::SetUp();
    PlaceThreeBoxes();
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
  // Bounds on screen (with the outline's reach, a few pixels), turned shapes by their turned
  // extent; the point in a shape finds it.
  B->SetRotation(45);
  for (auto [shape, index] : {std::pair{A, 0}, {B, 1}}) {
    const TRectF b = shape->GetRotatedBounds();
    const QRect r = e->child(index)->rect();
    const QRect expected(E.mapToGlobal(At(b.Left, b.Top)), E.mapToGlobal(At(b.Right, b.Bottom)));
    EXPECT_TRUE(r.contains(expected.adjusted(1, 1, -1, -1))) << index;
    EXPECT_TRUE(expected.adjusted(-6, -6, 6, 6).contains(r)) << index;
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

// On the sample label every visible shape is a child with a name, and its screen bounds hold every
// pixel it paints (found by hiding it and comparing the pictures).
TEST(AccessibilitySample, EveryShapeOfTheLabelIsAChildHoldingWhatItPaints) {
  RegisterVornShapes();
  TKxDeLayerList layers;
  TKxDeDocumentSettings page;
  TKxDeDocumentFile::LoadLayersFromFile(QStringLiteral(VORN_SOURCE_DIR "/samples/shipping-label.vorn"), layers, page);
  TKxDeEditor editor;
  for (TKxDeLayer* l : layers) editor.InsertLayer(l);
  editor.Layer()->SetBounds(page.PageWidth, page.PageHeight);
  editor.resize(700, 900);
  editor.ZoomToPage();
  editor.show();
  const auto picture = [&] { return editor.grab().toImage().convertToFormat(QImage::Format_RGB32); };
  const QImage all = picture();
  QAccessibleInterface* e = QAccessible::queryAccessibleInterface(&editor);
  int child = 0, checked = 0;
  for (TKxDeLayer* l : layers)
    for (int32_t i = 0; l->Visible() && i < l->ItemCount(); ++i, ++child) {
      TKxDeShapeBase* s = l->Items(i);
      ASSERT_LT(child, e->childCount());
      QAccessibleInterface* c = e->child(child);
      EXPECT_FALSE(c->text(QAccessible::Name).isEmpty()) << child;
      const QRect bounds(editor.mapFromGlobal(c->rect().topLeft()), c->rect().size());
      s->SetVisible(false);
      const QImage without = picture();
      s->SetVisible(true);
      const qreal r = all.devicePixelRatio();
      int outside = 0, painted = 0;
      QRect ink;
      for (int y = 0; y < all.height(); ++y)
        for (int x = 0; x < all.width(); ++x)
          if (all.pixel(x, y) != without.pixel(x, y)) {
            ++painted;
            ink |= QRect(qFloor(x / r), qFloor(y / r), 1, 1);
            outside += bounds.adjusted(-1, -1, 1, 1).contains(QPoint(qFloor(x / r), qFloor(y / r))) ? 0 : 1;
          }
      EXPECT_EQ(outside, 0) << c->text(QAccessible::Name).toStdString() << " " << s->ClassName().toStdString()
                            << " ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height()
                            << " bounds " << bounds.x() << "," << bounds.y() << " " << bounds.width() << "x"
                            << bounds.height();
      checked += painted > 0 ? 1 : 0;
    }
  EXPECT_EQ(child, e->childCount());
  EXPECT_GT(checked, 5) << "shapes that paint something";
}

}  // namespace
}  // namespace vorn::test

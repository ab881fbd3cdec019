// The layer manager beside a real editor: what its rows show, what clicks on them do to the
// document and the editor, renaming in place, following the document through many changes, and
// either widget destroyed first.
#include "support/TestSupport.h"

#include <vorn/shapes/VornShapes.h>

#include <QAccessible>
#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QTest>

using namespace vorn;

namespace {

using enum TKxDeListHitPart;

class LayerManager : public ::testing::Test {
 protected:
  void SetUp() override {
    Window.resize(700, 400);
    auto* box = new QHBoxLayout(&Window);
    box->setContentsMargins(0, 0, 0, 0);
    E = new TKxDeEditor;
    M = new TKxDeLayerManager;
    box->addWidget(M, 2);
    box->addWidget(E, 5);
    E->Layer()->SetBounds(360, 240);
    Base = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(E.data()));
    Base->SetName(QStringLiteral("Base"));
    for (const char* name : {"A", "B", "C"}) Box(Base, name);
    Top = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(E.data()));
    Top->SetName(QStringLiteral("Top"));
    Box(Top, "D");
    M->SetEditor(E);
    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
  }

  TKxDeShapeBase* Box(TKxDeLayer* L, const char* Name) {
    auto* s = Create<TVornRectangle>(nullptr, static_cast<TKxDeContainer*>(L));
    const float x = 20 + 70 * static_cast<float>(L->GetItemCount() - 1);
    s->SetBounds(x, L == Top ? 150 : 30, 60, 60);
    s->SetName(QString::fromLatin1(Name));
    s->Brush()->SetStyle(TBrushStyle::bsSolid);
    s->Brush()->SetColor(0x0000C0);  // dark red
    return s;
  }

  // The centre of the row of a layer's shape (Shape -1: its caption), at X from the row's left.
  QPoint Row(const TKxDeLayer* L, int32_t Shape, int32_t X) const {
    const TRect c = M->GetClientRect();
    for (int32_t y = c.Top; y < c.Bottom; ++y) {
      const TKxDeListHitInfo h = M->HitInfo(TPoint{c.Left + 61, y});
      if (h.Layer >= 0 && M->ListLayer(h.Layer)->Layer() == L && h.Shape == Shape)
        return QPoint(c.Left + X, (h.PartRect.Top + h.PartRect.Bottom) / 2);
    }
    ADD_FAILURE() << "no row for shape " << Shape;
    return {};
  }
  void Click(const TKxDeLayer* L, int32_t Shape, int32_t X, Qt::KeyboardModifiers Keys = {}) {
    QTest::mouseClick(M, Qt::LeftButton, Keys, Row(L, Shape, X));
  }
  std::string Selected() const {
    std::string out;
    for (TKxDeShapeBase* s : E->Selections()) out += s->Name().toStdString();
    return out;
  }
  // The editor's pixel at the centre of a shape.
  QColor EditorPixel(const TKxDeShapeBase* S) const {
    const TRectF b = S->GetBounds();
    const TPointF p = E->LayerToScreen(TPointF{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2});
    const QImage image = E->grab().toImage();
    return image.pixelColor(qRound(p.X * image.devicePixelRatio()), qRound(p.Y * image.devicePixelRatio()));
  }
  QColor ListPixel(QPoint P) const {
    const QImage image = M->grab().toImage();
    return image.pixelColor(qRound(P.x() * image.devicePixelRatio()), qRound(P.y() * image.devicePixelRatio()));
  }

  QWidget Window;
  QPointer<TKxDeEditor> E;
  QPointer<TKxDeLayerManager> M;
  TKxDeLayer* Base = nullptr;
  TKxDeLayer* Top = nullptr;
};

// The rows against the document: every listed shape in its layer's order, and nothing else.
void ExpectInStep(const TKxDeLayerManager& M, const TKxDeSurface& S) {
  ASSERT_EQ(M.ListLayerCount(), S.LayerCount());
  for (int32_t i = 0; i < S.LayerCount(); ++i) {
    const TKxDeListLayer* l = M.ListLayer(i);
    ASSERT_EQ(l->Layer(), S.GetLayer(i));
    std::vector<TKxDeShapeBase*> want, have;
    for (int32_t j = 0; j < l->Layer()->GetItemCount(); ++j)
      if (!l->Layer()->GetItem(j)->ShapeStyle().Contains(TKxDeShapeStyle::kxssDontShowInLayerManager))
        want.push_back(l->Layer()->GetItem(j));
    for (int32_t j = 0; j < l->GetShapeCount(); ++j) have.push_back(l->GetShape(j)->Shape());
    ASSERT_EQ(have, want) << "layer " << i;
  }
}

TEST_F(LayerManager, TogglesChangeTheDocumentAndTheEditorsPicture) {
  TKxDeShapeBase* a = Base->GetItem(0);
  const QColor shown = EditorPixel(a);
  ASSERT_EQ(shown, QColor(0xC0, 0, 0));
  Click(Base, 0, 30);  // the eye of A
  EXPECT_FALSE(a->Visible());
  EXPECT_NE(EditorPixel(a), shown);
  Click(Base, 0, 30);
  EXPECT_TRUE(a->Visible());
  EXPECT_EQ(EditorPixel(a), shown);

  Click(Base, 1, 50);  // the lock of B
  EXPECT_TRUE(Base->GetItem(1)->Locked());
  Click(Top, -1, 50);  // the lock of the top layer
  EXPECT_TRUE(Top->Locked());
  Click(Top, -1, 30);  // the eye of the top layer
  EXPECT_FALSE(Top->Visible());
  EXPECT_NE(EditorPixel(Top->GetItem(0)), shown);
  EXPECT_EQ(Selected(), "") << "toggles select nothing";
  // A click on a locked layer's item neither selects nor activates, but its toggles still work.
  Click(Top, 0, 120);
  EXPECT_EQ(Selected(), "");
  EXPECT_NE(E->ActiveLayer(), Top);
  Click(Top, 0, 50);
  EXPECT_TRUE(Top->GetItem(0)->Locked());
}

TEST_F(LayerManager, SelectionFollowsBothWays) {
  struct Step {
    int32_t Shape;
    Qt::KeyboardModifiers Keys;
    const char* Expected;
  };
  for (const Step& s : {Step{1, {}, "B"}, Step{2, Qt::ShiftModifier, "BC"}, Step{1, Qt::ShiftModifier, "C"},
                        Step{0, {}, "A"}}) {
    Click(Base, s.Shape, 150, s.Keys);
    EXPECT_EQ(Selected(), s.Expected);
  }
  EXPECT_EQ(E->ActiveLayer(), Base);
  Click(Top, -1, 150);  // a caption selects its layer's shapes and makes it active
  EXPECT_EQ(Selected(), "D");
  EXPECT_EQ(E->ActiveLayer(), Top);
  // The active layer's caption is filled with the active colour, the others' are not.
  const QColor active = ToQColor(M->Colors()->ActiveLayer());
  EXPECT_EQ(ListPixel(Row(Top, -1, M->GetClientRect().Width() - 30)), active);
  EXPECT_NE(ListPixel(Row(Base, -1, M->GetClientRect().Width() - 30)), active);

  // The other way: the editor's selection shows in the list's text area and caption mark.
  const QPoint textB = Row(Base, 1, M->GetClientRect().Width() - 10);
  const QPoint markBase = Row(Base, -1, M->GetClientRect().Width() - 10);
  const QColor highlight = ToQColor(clHighlight);
  EXPECT_NE(ListPixel(textB), highlight);
  EXPECT_NE(ListPixel(markBase), QColor(Qt::green));
  E->Select(Base->GetItem(1));
  EXPECT_EQ(ListPixel(textB), highlight);
  EXPECT_EQ(ListPixel(markBase), QColor(Qt::green));
}

TEST_F(LayerManager, RenamingInPlaceKeepsWithEnterDropsWithEscapeAndSkipsLockedLayers) {
  int edits = 0;
  M->OnEdit = [&](TKxDeShapeBase*, QString& Text) {
    ++edits;
    Text = Text.trimmed();
  };
  auto rename = [&](const char* Typed, int Key) {
    // A double click as the window system delivers it: a click, then the second press as a double click.
    QTest::mouseClick(M, Qt::LeftButton, {}, Row(Base, -1, 120));
    QTest::mouseDClick(M, Qt::LeftButton, {}, Row(Base, -1, 120));
    if (!M->IsEditing()) return false;
    if (*Typed) QTest::keyClicks(M->LayerEdit(), QString::fromLatin1(Typed));
    QTest::keyClick(M->LayerEdit(), static_cast<Qt::Key>(Key));
    return true;
  };
  ASSERT_TRUE(rename(" Ground ", Qt::Key_Return));
  EXPECT_EQ(Base->Name(), QStringLiteral("Ground"));
  EXPECT_FALSE(M->LayerEdit()->isVisible());
  ASSERT_TRUE(rename("Other", Qt::Key_Escape));
  EXPECT_EQ(Base->Name(), QStringLiteral("Ground"));
  ASSERT_TRUE(rename("", Qt::Key_Return));
  EXPECT_EQ(edits, 1) << "Enter without a change writes nothing";
  Base->SetLocked(true);
  EXPECT_FALSE(rename("Locked", Qt::Key_Return));
  EXPECT_EQ(Base->Name(), QStringLiteral("Ground"));
}

TEST_F(LayerManager, RowTextsNameBlankLayersAndShapesByIndexAndTellTheLayersPrinter) {
  Base->SetName(QStringLiteral("   "));
  Top->SetKindOfLayer(TKxDeKindOfLayer::kxdekol600);
  Base->GetItem(2)->SetName(QString());
  auto* text = Create<TVornText>(nullptr, static_cast<TKxDeContainer*>(Top));
  text->SetName(QStringLiteral("Label"));
  text->SetText(QStringLiteral("Hello"));
  EXPECT_EQ(M->GetRowText(M->ListLayer(0)), QStringLiteral("Layer - 0"));
  EXPECT_EQ(M->GetRowText(M->ListLayer(1)), QStringLiteral("Top (600dpi)"));
  EXPECT_EQ(M->GetRowText(M->ListLayer(0)->GetShape(2)), QStringLiteral("Shape - 2: "));
  EXPECT_EQ(M->GetRowText(M->ListLayer(1)->GetShape(1)), QStringLiteral("Label: Hello"));
  M->SetShowItemValue(false);
  EXPECT_EQ(M->GetRowText(M->ListLayer(1)->GetShape(1)), QStringLiteral("Label"));
}

TEST_F(LayerManager, RowsStayInStepThroughAThousandInsertsRemovalsAndReorders) {
  std::mt19937 random(21);
  auto pick = [&](int32_t N) { return static_cast<int32_t>(random() % static_cast<uint32_t>(N)); };
  for (int batch = 0; batch < 10; ++batch) {
    for (int i = 0; i < 100; ++i) {
      TKxDeLayer* l = pick(2) ? Base : Top;
      auto* s = Create<TVornEllipse>(nullptr, nullptr);
      if (pick(7) == 0) s->SetShapeStyle(s->ShapeStyle() + TKxDeShapeStyle::kxssDontShowInLayerManager);
      if (pick(2)) l->InsertShape(s);
      else l->Insert(pick(l->GetItemCount() + 1), s);
    }
    for (int i = 0; i < 120; ++i) {
      TKxDeLayer* l = pick(2) ? Base : Top;
      if (l->GetItemCount() == 0) continue;
      TKxDeShapeBase* s = l->GetItem(pick(l->GetItemCount()));
      if (i >= 100) pick(2) ? l->BringToFront(s) : l->SendBackward(s);
      else Free(s);
    }
    ExpectInStep(*M, *E);
    EXPECT_EQ(M->GetVisibleItemCount(), M->ListLayerCount() + M->ListLayer(0)->GetShapeCount() +
                                            M->ListLayer(1)->GetShapeCount());
  }
  // Whole layers: a third one, the order of layers, a layer emptied and one removed.
  auto* third = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(E.data()));
  Box(third, "E");
  E->SendToBack(third);
  ExpectInStep(*M, *E);
  Base->Clear();
  ExpectInStep(*M, *E);
  Free(Top);
  ExpectInStep(*M, *E);
}

TEST_F(LayerManager, PreviewRowsChangeTheScrollRangeAndAResizeClampsTheTop) {
  for (int i = 0; i < 20; ++i) Box(Base, "n");
  const int32_t withPreview = M->GetVScrollCount();
  ASSERT_GT(withPreview, 0);
  M->SetShowPreview(false);
  EXPECT_LT(M->GetVScrollCount(), withPreview) << "18-pixel rows fit more";
  M->SetShowPreview(true);
  M->SetTopPosition(1000);
  EXPECT_EQ(M->TopPosition(), withPreview);
  QTest::mouseClick(M, Qt::LeftButton, {}, QPoint(5, 5));  // wheel and clicks elsewhere leave it
  Window.resize(700, 800);
  QApplication::processEvents();
  EXPECT_EQ(M->TopPosition(), M->GetVScrollCount());
  EXPECT_LT(M->TopPosition(), withPreview);
}

// A rectangle that counts how often it is painted.
struct TCountingBox : TVornRectangle {
  using TVornRectangle::TVornRectangle;
  static inline int Painted = 0;
  void Paint(TCanvas* C, float X, float Y, double Zoom, int32_t Rotation, PmekDeviceCapsInfo Caps) override {
    ++Painted;
    TVornRectangle::Paint(C, X, Y, Zoom, Rotation, Caps);
  }
};

TEST_F(LayerManager, OnlyTheRowsOnScreenPaintThumbnails) {
  for (int i = 0; i < 500; ++i) Create<TCountingBox>(nullptr, static_cast<TKxDeContainer*>(Base));
  M->SetTopPosition(100);
  TCountingBox::Painted = 0;
  M->grab();
  const int onScreen = M->GetClientRect().Height() / M->GetPreviewHeight() + 1;
  EXPECT_GT(TCountingBox::Painted, 0);
  EXPECT_LE(TCountingBox::Painted, onScreen);
  TCountingBox::Painted = 0;
  M->SetShowPreview(false);
  M->grab();
  EXPECT_EQ(TCountingBox::Painted, 0);
}

TEST_F(LayerManager, ShapesHiddenFromTheListNeverGetARow) {
  auto* hidden = Create<TVornRectangle>(nullptr, nullptr);
  hidden->SetShapeStyle(hidden->ShapeStyle() + TKxDeShapeStyle::kxssDontShowInLayerManager);
  const int32_t rows = M->GetVisibleItemCount();
  Base->Insert(1, hidden);
  EXPECT_EQ(M->GetVisibleItemCount(), rows);
  Box(Base, "F");  // a shape after the hidden one still lands in its place
  ExpectInStep(*M, *E);
  Free(hidden);
  EXPECT_EQ(M->GetVisibleItemCount(), rows + 1);
  ExpectInStep(*M, *E);
}

TEST_F(LayerManager, EitherWidgetMayBeDestroyedFirst) {
  // The editor first, with a layer's name being typed: the list empties, drops the edit without
  // writing to the freed layer, and paints and answers hit tests without it.
  QTest::mouseClick(M, Qt::LeftButton, {}, Row(Base, -1, 120));
  QTest::mouseDClick(M, Qt::LeftButton, {}, Row(Base, -1, 120));
  ASSERT_TRUE(M->IsEditing());
  QTest::keyClicks(M->LayerEdit(), QStringLiteral("Gone"));
  delete E.data();
  EXPECT_FALSE(M->IsEditing());
  EXPECT_EQ(M->Editor(), nullptr);
  EXPECT_EQ(M->ListLayerCount(), 0);
  EXPECT_EQ(M->HitInfo(TPoint{30, 10}).Layer, -1);
  M->grab();
  // The list first: the editor goes on changing and selecting without calling it.
  auto* editor = new TKxDeEditor(&Window);
  auto* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(editor));
  Box(layer, "G");
  const int32_t clients = editor->GetClientCount();
  M->SetEditor(editor);
  EXPECT_EQ(M->ListLayerCount(), 1);
  delete M.data();
  EXPECT_EQ(editor->GetClientCount(), clients);
  editor->SelectAll();
  Box(layer, "H");
  Free(layer);
}

}  // namespace

// What a screen reader sees of the list: its rows as children in the order shown, with their
// texts, marks, screen places and selection, and rows it can press and open or close.
TEST_F(LayerManager, RowsAreAccessibleChildrenThatShowAndDriveTheSelection) {
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(M.data());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::Tree);
  auto names = [&] {
    std::string out;
    for (int i = 0; i < list->childCount(); ++i)
      out += list->child(i)->text(QAccessible::Name).section(QLatin1Char(':'), 0, 0).toStdString() + " ";
    return out;
  };
  EXPECT_EQ(names(), "Base A B C Top D ");
  QAccessibleInterface* b = list->child(2);
  EXPECT_EQ(b->role(), QAccessible::TreeItem);
  EXPECT_TRUE(b->rect().contains(M->mapToGlobal(Row(Base, 1, 100))));
  EXPECT_EQ(list->childAt(b->rect().center().x(), b->rect().center().y()), b);
  EXPECT_EQ(list->indexOfChild(b), 2);

  // Pressing rows selects like clicks do, and the states follow the editor's selection.
  b->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(Selected(), "B");
  EXPECT_TRUE(b->state().selected);
  EXPECT_FALSE(list->child(1)->state().selected);
  E->Select(Top->GetItem(0));
  EXPECT_FALSE(b->state().selected);
  EXPECT_TRUE(list->child(5)->state().selected);

  // Marks of hidden and locked shapes; a locked layer's rows cannot be pressed into a selection.
  Base->GetItem(2)->SetVisible(false);
  Base->GetItem(2)->SetLocked(true);
  EXPECT_EQ(list->child(3)->text(QAccessible::Description), QStringLiteral("hidden, locked"));
  Top->SetLocked(true);
  E->ClearSelection();
  list->child(5)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(Selected(), "");
  EXPECT_FALSE(list->child(5)->state().selectable);

  // Closing a layer takes its item rows out of the children; an interface stands for a place in
  // the list, and one past the last row is invalid.
  QAccessibleInterface* base = list->child(0);
  QAccessibleInterface* last = list->child(5);
  EXPECT_TRUE(base->state().expanded);
  base->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(base->state().collapsed);
  EXPECT_EQ(names(), "Base Top D ");
  EXPECT_TRUE(b->text(QAccessible::Name).startsWith(QLatin1Char('D')));
  EXPECT_FALSE(last->isValid());
  EXPECT_EQ(list->child(3), nullptr);
}

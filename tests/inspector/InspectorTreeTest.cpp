// TmekInspector driven as a user drives it: rows by category, in-place editors per property
// kind, refusals, dialogs of the button editors, sub-objects, rebinding and destruction while
// shown, and what the tree looks like.
#include "InspectorTestSupport.h"

#include <vorn/inspector/mekStyleDialogs.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

using namespace vorn;
using namespace vorn::test;

namespace {

struct TTree : ::testing::Test {
  TShapeDocument Doc;
  TmekInspector Tree;
  QStringList Errors;

  TTree() {
    Tree.resize(320, 420);
    Tree.show();
    Tree.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Tree));
  }
  void Bind(TObject* Object) {
    Tree.SetInspComp(Object);
    for (int32_t i = 0; i < Tree.ObjectInspectorCount(); ++i) Watch(i);
  }
  void Watch(int32_t Inspector) {
    Tree.ObjectInspector(Inspector)->OnException = [this](TObject*, const Exception& E) { Errors << E.Message(); };
  }
  QModelIndex Row(const char* Path) {
    const QModelIndex i = Tree.FindNode(QLatin1String(Path));
    EXPECT_TRUE(i.isValid()) << Path;
    return i;
  }
  QStringList Captions(const QModelIndex& Parent = QModelIndex()) {
    QStringList out;
    for (int r = 0; r < Tree.model()->rowCount(Parent); ++r) out << Tree.Text(Tree.model()->index(r, 0, Parent), 0);
    return out;
  }
  QString Value(const char* Path) { return Tree.Text(Row(Path), 2); }
  // Opens the row's editor as selecting it does.
  TmekVTCustomEditorLink* Open(const char* Path) {
    const QModelIndex row = Row(Path);
    Tree.setCurrentIndex(row);
    QCoreApplication::processEvents();
    if (!Tree.IsEditing()) Tree.EditNode(row, 2);  // the row was current already
    EXPECT_TRUE(Tree.IsEditing()) << Path;
    return Tree.EditLink();
  }
  // Replaces the editor's text as a user types it, then presses Key.
  void Type(const QString& Text, Qt::Key Key = Qt::Key_Return) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Backspace);
    QTest::keyClicks(focus, Text);
    QTest::keyClick(focus, Key);
  }
  // Presses the open button editor's button and answers the dialog it opens.
  template <class D>
  void Press(const char* Path, std::function<void(D*)> Answer) {
    TmekVTCustomEditorLink* link = Open(Path);
    ASSERT_NE(link, nullptr);
    ASSERT_EQ(link->EditorType(), TMek_VSTEditorType::etButtonEditor);
    AnswerNextDialog<D>(Answer);
    static_cast<Tmek_MFButtonEdit*>(link->EditControl())->Click();
  }
};

}  // namespace

TEST_F(TTree, ListsAKitShapeByCategory) {
  TVornText* text = Doc.Add<TVornText>();
  text->SetText(QStringLiteral("Hello"));
  Bind(text);
  EXPECT_EQ(Captions(), (QStringList{"Behavior", "Identity", "Layout", "Text"}));
  EXPECT_EQ(Captions(Row("Text")), (QStringList{"Alignment", "Font", "Text", "VerticalAlignment", "WordWrap"}));
  EXPECT_TRUE(Tree.isExpanded(Row("Text")));
  EXPECT_EQ(Value("Text/Text"), QStringLiteral("Hello"));
  EXPECT_EQ(Value("Text/Font"), QStringLiteral("Click to modify"));
  EXPECT_EQ(Value("Text/Alignment"), QStringLiteral("vtaLeft"));
  EXPECT_EQ(Value("Layout/Rotation"), QStringLiteral("0"));
  EXPECT_EQ(Value("Text/WordWrap"), QString());  // a check box instead
  EXPECT_TRUE(Tree.model()->data(Row("Text"), Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(Tree.model()->hasChildren(Row("Text/Font")));  // fonts open a dialog instead
  // Captions and values pass through OnTranslate.
  Tree.OnTranslate = [](const QString& S) { return S == QLatin1String("Text") ? QStringLiteral("Texte") : S; };
  Bind(text);
  EXPECT_EQ(Captions().last(), QStringLiteral("Texte"));
  Bind(nullptr);
  EXPECT_EQ(Tree.model()->rowCount(), 0);
}

// Each kind of property gets its editor; what is typed lands in the shape through its setter,
// announced once under the property's name.
TEST_F(TTree, EditsInPlace) {
  TVornText* text = Doc.Add<TVornText>();
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  struct TCase {
    TObject* Object;
    const char* Path;
    TMek_VSTEditorType Editor;
    const char* Typed;
    std::function<QString()> Read;
    const char* Announced;
  };
  const TCase cases[] = {
      {text, "Text/Text", TMek_VSTEditorType::etStringEditor, "World", [&] { return text->Text(); },
       "kxacChanging Text"},
      {text, "Text/Alignment", TMek_VSTEditorType::etComboEditor, "vtaRight",
       [&] { return EnumToText(text->Alignment()); }, "kxacChanging Alignment"},
      {text, "Layout/Rotation", TMek_VSTEditorType::etNumEditor, "30",
       [&] { return QString::number(text->Rotation()); }, "kxacChanging Rotation"},
      {rect, "Geometry/CornerRadius", TMek_VSTEditorType::etNumEditor, "2.5",
       [&] { return QString::number(rect->CornerRadius()); }, "kxacChanging CornerRadius"},
      {rect, "Identity/Name", TMek_VSTEditorType::etStringEditor, "Frame", [&] { return rect->Name(); },
       "kxacChanging Name"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Path);
    Bind(c.Object);
    Doc.Surface.Announced.clear();
    TmekVTCustomEditorLink* link = Open(c.Path);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->EditorType(), c.Editor);
    Type(QLatin1String(c.Typed));
    EXPECT_FALSE(Tree.IsEditing());
    EXPECT_EQ(c.Read(), QLatin1String(c.Typed));
    EXPECT_EQ(Doc.Surface.Announced, std::vector<std::string>{c.Announced});
  }
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(TTree, RefusesInvalidTextAndTellsOnException) {
  TVornText* text = Doc.Add<TVornText>();
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  rect->SetCornerRadius(1);
  struct TCase {
    TObject* Object;
    const char* Path;
    const char* Typed;
    const char* Unchanged;
  };
  const TCase cases[] = {
      {rect, "Geometry/CornerRadius", "1.5x", "1"},   // letters in a number
      {rect, "Geometry/CornerRadius", "70000", "1"},  // beyond the editor's bounds
      {text, "Text/Alignment", "vtaNowhere", "vtaLeft"},
      {text, "Layout/Rotation", "", "0"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Path) + " " + c.Typed);
    Bind(c.Object);
    Errors.clear();
    Open(c.Path);
    Type(QLatin1String(c.Typed));
    EXPECT_EQ(Value(c.Path), QLatin1String(c.Unchanged));
    EXPECT_EQ(Errors.size(), 1);
  }
  EXPECT_FLOAT_EQ(rect->CornerRadius(), 1.0f);
}

// The value events rewrite what a cell shows and what an edit stores.
TEST_F(TTree, ValueEventsRewriteShownAndStoredText) {
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  rect->SetName(QStringLiteral("Frame"));
  rect->SetCornerRadius(1.234f);
  Tree.SetFloatFormat(QStringLiteral("0.0"));
  Tree.OnGetStringValue = [](TmekInspector*, PPropInfo, QString& V) { V = V.toUpper(); };
  Tree.OnGetOtherValue = [](TmekInspector*, PPropInfo P, QString& V) { V = P->TypeName + QLatin1Char(' ') + V; };
  Tree.OnSetStringValue = [](TmekInspector*, PPropInfo, QString& V) { V = V.trimmed(); };
  Tree.OnSetFloatValue = [](TmekInspector*, PPropInfo, QString& V) { V = QString::number(V.toDouble() * 2); };
  Bind(rect);
  EXPECT_EQ(Value("Identity/Name"), QStringLiteral("FRAME"));
  EXPECT_EQ(Value("Geometry/CornerRadius"), QStringLiteral("1.2"));
  EXPECT_EQ(Value("Appearance/Color"), QStringLiteral("TColor 0"));
  Open("Identity/Name");
  Type(QStringLiteral("  Box  "));
  EXPECT_EQ(rect->Name(), QStringLiteral("Box"));
  Open("Geometry/CornerRadius");
  Type(QStringLiteral("1.5"));
  EXPECT_FLOAT_EQ(rect->CornerRadius(), 3.0f);
}

TEST_F(TTree, EditorKeys) {
  TVornText* text = Doc.Add<TVornText>();
  text->SetText(QStringLiteral("Keep"));
  Bind(text);
  // Escape leaves the value alone.
  Open("Text/Text");
  Type(QStringLiteral("Lost"), Qt::Key_Escape);
  EXPECT_EQ(text->Text(), QStringLiteral("Keep"));
  EXPECT_FALSE(Tree.IsEditing());
  // Up and Down move the caret in a text.
  auto* edit = static_cast<QLineEdit*>(Open("Text/Text")->EditControl());
  edit->setCursorPosition(2);
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(edit->cursorPosition(), 1);
  QTest::keyClick(edit, Qt::Key_Down);
  EXPECT_EQ(edit->cursorPosition(), 2);
  // Tab commits and edits the next row.
  Type(QStringLiteral("Next"), Qt::Key_Tab);
  EXPECT_EQ(text->Text(), QStringLiteral("Next"));
  ASSERT_TRUE(Tree.IsEditing());
  EXPECT_EQ(Tree.EditLink()->Node().siblingAtColumn(0), Row("Text/VerticalAlignment"));
  Type(QStringLiteral("vtlBottom"), Qt::Key_Tab);
  EXPECT_EQ(text->VerticalAlignment(), TVornTextLayout::vtlBottom);
  // An item picked from a combo's list applies at once; stepping with the keys does not.
  auto* combo = static_cast<QComboBox*>(Open("Text/Alignment")->EditControl());
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_TRUE(Tree.IsEditing());
  combo->showPopup();
  QAbstractItemView* list = combo->view();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(2, 0)).center());
  EXPECT_EQ(text->Alignment(), TVornTextAlign::vtaRight);
  EXPECT_FALSE(Tree.IsEditing());
}

TEST_F(TTree, BooleansToggleWithOneClick) {
  TVornText* text = Doc.Add<TVornText>();
  Bind(text);
  const QModelIndex cell = Row("Text/WordWrap").siblingAtColumn(2);
  Tree.scrollTo(cell);
  const QRect r = Tree.visualRect(cell);
  const QPoint box(r.left() + 10, r.center().y());
  Tree.grab();
  EXPECT_EQ(Tree.NodeData(cell)->ImageIndex, 13);
  QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, box);
  EXPECT_FALSE(text->WordWrap());
  Tree.grab();
  EXPECT_EQ(Tree.NodeData(cell)->ImageIndex, 9);
  QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, box);
  EXPECT_TRUE(text->WordWrap());
  QTest::mouseClick(Tree.viewport(), Qt::LeftButton, {}, QPoint(r.right() - 5, r.center().y()));  // beside the box
  EXPECT_TRUE(text->WordWrap());
}

// Set elements, and the dialogs of colours, pens and fonts.
TEST_F(TTree, SetElementsColoursAndStyleDialogs) {
  TVornText* text = Doc.Add<TVornText>();
  Bind(text->Font());
  Tree.expand(Row("Font/Style"));
  EXPECT_EQ(Captions(Row("Font/Style")), (QStringList{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));
  EXPECT_EQ(Open("Font/Style/fsItalic")->EditorType(), TMek_VSTEditorType::etComboEditor);
  Type(QStringLiteral("True"));
  EXPECT_EQ(text->Font()->Style(), TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(Value("Font/Style"), QStringLiteral("[fsItalic]"));
  EXPECT_EQ(Value("Font/Style/fsItalic"), QStringLiteral("True"));

  TVornBarcode* barcode = Doc.Add<TVornBarcode>();
  Bind(barcode);
  Press<QColorDialog>("Appearance/BarColor", [](QColorDialog* D) {
    D->setCurrentColor(Qt::red);
    D->accept();
  });
  EXPECT_EQ(barcode->BarColor(), clRed);
  EXPECT_EQ(Doc.Surface.Announced, std::vector<std::string>{"kxacChanging BarColor"});

  // The pen dialog changes the pen in one announced change.
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  Bind(rect);
  Press<TmekPenDialog>("Appearance/Pen", [](TmekPenDialog* D) {
    D->findChild<QDoubleSpinBox*>(QStringLiteral("Width"))->setValue(0.5);
    D->accept();
  });
  EXPECT_FLOAT_EQ(rect->Pen()->Width(), 0.5f);
  EXPECT_EQ(Doc.Surface.Announced, (std::vector<std::string>{"kxacChangingPen", "kxacChangingPen Pen"}));
  Press<TmekPenDialog>("Appearance/Pen", [](TmekPenDialog* D) { D->reject(); });
  EXPECT_FLOAT_EQ(rect->Pen()->Width(), 0.5f);

  Bind(text);
  Doc.Surface.Announced.clear();
  Press<QFontDialog>("Text/Font", [](QFontDialog* D) {
    QFont f = D->currentFont();
    f.setUnderline(true);
    D->setCurrentFont(f);
    D->accept();
  });
  EXPECT_TRUE(text->TextFont()->Style().Contains(TFontStyle::fsUnderline));
  EXPECT_EQ(Doc.Surface.Announced, std::vector<std::string>{"kxacChangingFont"});
}

TEST_F(TTree, PicturesComeFromTheFileDialog) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("dot.png"));
  QImage dot(4, 4, QImage::Format_RGB32);
  dot.fill(Qt::red);
  ASSERT_TRUE(dot.save(file));
  TVornPicture* picture = Doc.Add<TVornPicture>();
  Bind(picture);
  TmekVTCustomEditorLink* link = Open("Picture/Picture");
  ASSERT_EQ(link->EditorType(), TMek_VSTEditorType::etPictureEditor);
  AnswerNextDialog<QFileDialog>([file](QFileDialog* D) {
    D->selectFile(file);
    static_cast<QDialog*>(D)->accept();
  });
  static_cast<Tmek_MFPictureEdit*>(link->EditControl())->Click();
  EXPECT_FALSE(picture->Picture()->GetEmpty());
  EXPECT_EQ(picture->Picture()->GetWidth(), 4);
  static_cast<Tmek_MFPictureEdit*>(link->EditControl())->ClearButton()->trigger();
  EXPECT_TRUE(picture->Picture()->GetEmpty());
  EXPECT_TRUE(Errors.isEmpty());
}

// A class-typed property opens into its object's properties, edited through an inspector of
// their own.
TEST_F(TTree, SubObjectsOpenAndFollowTheirShape) {
  TVornPolyline* line = Doc.Add<TVornPolyline>();
  line->SetClosed(true);
  line->Gradient()->SetShift(10);
  Bind(line);
  Tree.expand(Row("Appearance/Gradient"));
  EXPECT_EQ(Captions(Row("Appearance/Gradient")),
            (QStringList{"ColorBegin", "ColorEnd", "Reverse", "Rotation", "Shift", "Style"}));
  Watch(Tree.ObjectInspectorCount() - 1);
  Open("Appearance/Gradient/Shift");
  Type(QStringLiteral("40"));
  EXPECT_EQ(line->Gradient()->Shift(), 40);
  Open("Appearance/Gradient/Shift");
  Type(QStringLiteral("x"));
  EXPECT_EQ(Errors.size(), 1);

  // Opening the polyline drops its gradient: the rows of the old gradient go, nothing reads it.
  const int32_t sub = Tree.NodeData(Row("Appearance/Gradient"))->ChildInspector;
  ASSERT_GT(sub, 0);
  Tree.ObjectInspector(0)->SetPropertyValue(QStringLiteral("Closed"), QStringLiteral("False"));
  EXPECT_EQ(line->Gradient(), nullptr);
  EXPECT_FALSE(Tree.ObjectInspector(sub)->HasObject());
  Tree.grab();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Tree.model()->hasChildren(Row("Appearance/Gradient")));
  EXPECT_TRUE(Tree.isExpanded(Row("Appearance")));
  EXPECT_EQ(Tree.ObjectInspectorCount(), 1);
}

TEST_F(TTree, RebindingAndDestroyingWhileShownAreSafe) {
  TVornText* text = Doc.Add<TVornText>();
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  Bind(text);
  // Rebinding commits the open edit to the object it was made for.
  Open("Text/Text");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("!"));
  Bind(rect);
  EXPECT_EQ(text->Text(), QStringLiteral("!"));
  EXPECT_FALSE(Tree.IsEditing());
  EXPECT_EQ(Captions().first(), QStringLiteral("Appearance"));

  // Destroying the shown shape, with an edit open and its gradient shown, clears the tree.
  Tree.expand(Row("Appearance/Gradient"));
  Open("Geometry/CornerRadius");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("7"));
  Free(rect);
  EXPECT_FALSE(Tree.IsEditing());
  EXPECT_EQ(Tree.model()->rowCount(), 0);
  EXPECT_EQ(Tree.ObjectInspectorCount(), 1);
  Tree.grab();
  QCoreApplication::processEvents();

  // Switching through many shapes keeps one set of inspectors.
  std::vector<TVornRectangle*> shapes;
  for (int i = 0; i < 50; ++i) shapes.push_back(Doc.Add<TVornRectangle>());
  for (TVornRectangle* s : shapes) {
    Bind(s);
    Tree.expand(Row("Appearance/Gradient"));
  }
  EXPECT_EQ(Tree.ObjectInspectorCount(), 2);
}

TEST(InspectorTree, CommitEditOnDestroy) {
  for (bool commit : {true, false}) {
    TShapeDocument doc;
    TVornText* text = doc.Add<TVornText>();
    auto* tree = new TmekInspector;
    tree->SetCommitEditOnDestroy(commit);
    tree->show();
    tree->SetInspComp(text);
    ASSERT_TRUE(tree->EditNode(tree->FindNode(QStringLiteral("Text/Text")), 2));
    static_cast<QLineEdit*>(tree->EditLink()->EditControl())->setText(QStringLiteral("Bye"));
    static_cast<QLineEdit*>(tree->EditLink()->EditControl())->setModified(true);
    delete tree;
    EXPECT_EQ(text->Text(), commit ? QStringLiteral("Bye") : QString());
  }
}

// The picture of the documentation: a text shape as the tree shows it.
TEST_F(TTree, LooksRightForATextShape) {
  TVornText* text = Doc.Add<TVornText>();
  text->SetText(QStringLiteral("Vorn Drawing Engine"));
  text->SetName(QStringLiteral("Title"));
  text->SetRotation(15);
  Bind(text);
  // Just tall enough for the twelve rows.
  Tree.resize(300, Tree.header()->sizeHint().height() + 12 * Tree.sizeHintForRow(0) + 2 * Tree.frameWidth());
  Tree.setCurrentIndex(Row("Text/Alignment"));
  QCoreApplication::processEvents();
  const QImage image = Tree.grab().toImage();
  image.save(QStringLiteral(VORN_BINARY_DIR "/inspector-text.png"));
  const auto at = [&](const QModelIndex& I, int X) {
    const QRect r = Tree.visualRect(I);
    return image.pixelColor(
        Tree.viewport()->mapTo(&Tree, QPoint(X < 0 ? r.right() + X : r.left() + X, r.center().y())));
  };
  // Category rows in the category brush, names on the button face, values on the base.
  EXPECT_EQ(at(Row("Identity"), -3), Tree.CategoryBrush().color());
  EXPECT_EQ(at(Row("Identity/Name"), -3), Tree.palette().color(QPalette::Button));
  EXPECT_EQ(at(Row("Identity/Name").siblingAtColumn(2), -3), Tree.palette().color(QPalette::Base));
  // The check box of WordWrap is drawn, dark ink on light ground.
  const QModelIndex wrap = Row("Text/WordWrap").siblingAtColumn(2);
  int dark = 0;
  for (int x = 2; x < 18; ++x) dark += at(wrap, x).lightness() < 100 ? 1 : 0;
  EXPECT_GT(dark, 1);
  // A screen reader reads the rows: the names and the values as text.
  QStringList read;
  QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&Tree);
  for (int i = 0; i < tree->childCount(); ++i) read << tree->child(i)->text(QAccessible::Name);
  EXPECT_TRUE(read.contains(QStringLiteral("Name")) && read.contains(QStringLiteral("Title")))
      << read.join(',').toStdString();

  // A colour shows as a swatch, with no piece of its number beside it.
  TVornRectangle* rect = Doc.Add<TVornRectangle>();
  rect->Brush()->SetColor(clRed);
  Bind(rect);
  const QModelIndex brush = Row("Appearance/Brush").siblingAtColumn(2);
  const QImage swatch = Tree.grab().toImage();
  const QRect cell = Tree.visualRect(brush).translated(Tree.viewport()->pos());
  EXPECT_EQ(swatch.pixelColor(cell.center()), QColor(Qt::red));
  const QColor ground = swatch.pixelColor(cell.topLeft());
  int pieces = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x < cell.left() + 5; ++x) pieces += swatch.pixelColor(x, y) != ground ? 1 : 0;
  EXPECT_EQ(pieces, 0);
}

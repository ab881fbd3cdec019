// Copy, cut and paste between editors of one process, damaged payloads, and the clipboard object's
// retries and format names.

#include <vorn/shapes/VornPicture.h>

#include "EditorFixture.h"
#include "support/ShapeContent.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cmath>
#include <functional>

namespace vorn::test {

// A host shape that reports a missing data file while it is read, or cannot be read at all.
class TReportingShape : public TVornRectangle {
  VORN_OBJECT(TReportingShape, TVornRectangle)

 public:
  using TVornRectangle::TVornRectangle;
  void LoadFromXML(TXmlNode Node, bool KeepID) override {
    TVornRectangle::LoadFromXML(Node, KeepID);
    if (Name() == QLatin1String("Broken")) throw Exception(QStringLiteral("unreadable"));
    if (OnLoadError) OnLoadError(this, QStringLiteral("data file missing"), 7);
  }
};

namespace {

class EditorClipboard : public TEditorWindow<TKxDeEditor> {
 protected:
  void SetUp() override {
    RegisterVornShapes();
    TEditorWindow::SetUp();
    A = Box("A", 20, 20);
    B = Box<TVornEllipse>("B", 120, 20, 40, 30);
    B->Pen()->SetWidth(1.5f);
    Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&Other));
  }
  TKxDeLayer* OtherLayer() const { return Other.GetLayer(0); }
  void PutPayload(const QByteArray& Xml) {
    TmekClipboard* c = MekClipboard();
    c->SetAsHandle(c->ObjectsFormat(), Xml);
  }

  TKxDeEditor Other;
};

TEST_F(EditorClipboard, CopyPastesIntoAnotherEditorOneMillimetreFurtherEachTime) {
  E.SelectList({A, B});
  E.CopyToClipboard();
  EXPECT_TRUE(Other.HasClipboardData());
  EXPECT_EQ(MekClipboard()->GetAsText().count(QLatin1Char('\n')), 2);
  for (int n = 1; n <= 3; ++n) {
    Other.PasteFromClipboard();
    ASSERT_EQ(OtherLayer()->ItemCount(), 2 * n);
    for (int i = 0; i < 2; ++i) {
      TKxDeShapeBase* copy = OtherLayer()->Items(2 * n - 2 + i);
      TKxDeShapeBase* source = i == 0 ? A : B;
      EXPECT_NE(copy->ID(), source->ID());
      EXPECT_TRUE(Other.IsSelected(copy));
      EXPECT_EQ(ShapeContent(copy), ShapeContent(source, static_cast<float>(n) * CoordsPixelsPerMMConvertValue));
    }
  }
  // The three pastes are undone one by one.
  EXPECT_EQ(Other.UndoCount(), 3);
  Other.Undo();
  EXPECT_EQ(OtherLayer()->ItemCount(), 4);
}

TEST_F(EditorClipboard, ShapesThatReportOrFailWhileReadTellOnShapeLoadError) {
  TKxDeRegister::RegisterShape(ClassOf<TReportingShape>());
  Box<TReportingShape>("Fine", 20, 120);
  Box<TReportingShape>("Broken", 120, 120);
  E.SelectAll();
  E.CopyToClipboard();
  std::string told;
  Other.OnShapeLoadError = [&](TKxDeShapeBase* S, const QString& Message, int32_t Number) {
    told += S->Name().toStdString() + ": " + Message.toStdString() + " " + std::to_string(Number) + "; ";
  };
  Other.PasteFromClipboard();
  TKxDeRegister::UnRegisterShape(ClassOf<TReportingShape>());
  EXPECT_EQ(told, "Fine: data file missing 7; Broken: unreadable -1; ");
  EXPECT_EQ(OtherLayer()->ItemCount(), 3) << "A, B and the readable one";
}

TEST_F(EditorClipboard, CutPastesInPlaceAndGroupsKeepTheirMembers) {
  E.SelectList({A, B});
  TKxDeGroup* g = E.GroupSelection();
  const std::string group = ShapeContent(g);
  E.CutToClipboard();
  EXPECT_EQ(Layer->ItemCount(), 0);
  E.PasteFromClipboard();
  ASSERT_EQ(Layer->ItemCount(), 1);
  auto* pasted = dynamic_cast<TKxDeGroup*>(Layer->Items(0));
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->ItemCount(), 2);
  EXPECT_EQ(E.SelectionCount(), 1);
  EXPECT_TRUE(E.IsSelected(pasted));
  EXPECT_EQ(ShapeContent(pasted), group);
}

TEST_F(EditorClipboard, DamagedPayloadsPasteWhatIsValidOrNothing) {
  const QByteArray valid = R"(<o Class="TVornRectangle"><Points><Point><x>1</x><y>1</y></Point>)"
                           R"(<Point><x>5</x><y>5</y></Point></Points></o>)";
  QByteArray deep;
  for (int i = 0; i < 500; ++i) deep = R"(<o Class="TKxDeGroup"><os>)" + deep + "</os></o>";
  struct TCase {
    const char* Name;
    QByteArray Xml;
    int Pasted;
  };
  const std::vector<TCase> cases = {
      {"truncated", R"(<os type="vorn.mek.data" version="1.0"><o Class="TVornRect)", 0},
      {"wrong type", R"(<os type="other" version="1.0">)" + valid + "</os>", 0},
      {"no os root", "<shapes>" + valid + "</shapes>", 0},
      {"unknown class beside a valid one",
       R"(<os type="vorn.mek.data"><o Class="TNoSuchShape"/><o/>)" + valid + "</os>", 1},
      {"huge numbers",
       R"(<os type="vorn.mek.data"><o Class="TVornRectangle"><Points><Point><x>1e300</x><y>-1e39</y></Point>)"
       R"(</Points><Rotation>1e99</Rotation></o></os>)",
       1},
      {"absurd nesting", R"(<os type="vorn.mek.data">)" + deep + "</os>", 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    E.SelectAll();
    E.DeleteSelection();
    PutPayload(c.Xml);
    E.PasteFromClipboard();
    EXPECT_EQ(Layer->ItemCount(), c.Pasted);
    for (int32_t i = 0; i < Layer->ItemCount(); ++i) {
      const TRectF b = Layer->Items(i)->GetBounds();
      EXPECT_TRUE(std::isfinite(b.Left) && std::abs(b.Right) < 1e10f);
    }
  }
  // Plain text counts as pastable, but without a handler nothing is pasted; a handler sees it.
  MekClipboard()->SetAsText(QStringLiteral("hello"));
  EXPECT_TRUE(E.HasClipboardData());
  E.SelectAll();
  E.DeleteSelection();
  E.PasteFromClipboard();
  EXPECT_EQ(Layer->ItemCount(), 0);
  std::vector<uint16_t> offered;
  E.OnPasteCustomClipboardFormats = [&](TObject*, uint16_t F, bool&) { offered.push_back(F); };
  E.PasteFromClipboard();
  EXPECT_EQ(offered, (std::vector<uint16_t>{CF_UNICODETEXT}));
}

TEST_F(EditorClipboard, CopiesOfferPicturesAndPicturesOfOtherProgramsPasteAsPictureShapes) {
  const float u = CoordsPixelsPerMMConvertValue;
  E.SetClipboardPictures(true);
  E.SelectList({A, B});
  E.CutToClipboard();  // the pictures are drawn from the copy, not from the shapes, which are gone
  const QByteArray svg = MekClipboard()->GetMimeData(QStringLiteral("image/svg+xml"));
  const QByteArray pngBytes = MekClipboard()->GetMimeData(QStringLiteral("image/png"));
  const QImage png = QImage::fromData(pngBytes);
  // A (20..80) and B (120..160, its pen of 1.5 mm) with a unit of smoothing around them.
  EXPECT_NEAR(png.width(), (160 + 0.75f * u + 1) - (20 - 1), 2);
  EXPECT_EQ(qAlpha(png.pixel(50 - 19, 50 - 19)), 255);  // inside A
  EXPECT_EQ(qAlpha(png.pixel(100 - 19, 50 - 19)), 0);   // between A and B

  // Pasted back as pictures at their own size (SVG first, then PNG, then other images), centred
  // on the page (all of it is in view), selected, one undo step.
  E.SetPictureShapeClass(ClassOf<TVornPicture>());
  QImage image(100, 40, QImage::Format_ARGB32);  // at 2000 dots per metre: 50 x 20 mm
  image.fill(Qt::red);
  image.setDotsPerMeterX(2000);
  image.setDotsPerMeterY(2000);
  const QByteArray inches = R"(<svg xmlns="http://www.w3.org/2000/svg" width="25.4mm" height="0.5in">)"
                            R"(<rect width="10" height="5"/></svg>)";
  struct TCase {
    QByteArray Png, Svg;  // what another program offers (empty: not offered)
    QImage Image;
    const char* Graphic;
    float W, H;
  };
  for (const TCase& c : {TCase{pngBytes, svg, {}, "TSvgGraphic", float(png.width()), float(png.height())},
                         TCase{pngBytes, {}, {}, "TPngImage", float(png.width()), float(png.height())},
                         TCase{{}, {}, image, "TPngImage", 50 * u, 20 * u},
                         TCase{{}, inches, {}, "TSvgGraphic", 25.4f * u, 12.7f * u}}) {
    auto* offer = new QMimeData;
    if (!c.Png.isEmpty()) offer->setData(QStringLiteral("image/png"), c.Png);
    if (!c.Svg.isEmpty()) offer->setData(QStringLiteral("image/svg+xml"), c.Svg);
    if (!c.Image.isNull()) offer->setImageData(c.Image);
    QGuiApplication::clipboard()->setMimeData(offer);
    SCOPED_TRACE(c.Graphic);
    E.PasteFromClipboard();
    ASSERT_EQ(Layer->ItemCount(), 1);
    auto* p = dynamic_cast<TVornPicture*>(Layer->Items(0));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(E.IsSelected(p));
    EXPECT_EQ(p->Picture()->GetGraphic()->ClassName(), QLatin1String(c.Graphic));
    const TRectF b = p->GetBounds();
    EXPECT_NEAR(b.Width(), c.W, 1);
    EXPECT_NEAR(b.Height(), c.H, 1);
    EXPECT_NEAR((b.Left + b.Right) / 2, 180, 0.5);
    E.Undo();
    EXPECT_EQ(Layer->ItemCount(), 0);
  }
  // A handler keeps the pictures to itself; without a picture class they are not pasted.
  bool handled = false;
  E.OnPasteCustomClipboardFormats = [&](TObject*, uint16_t, bool&) { handled = true; };
  E.PasteFromClipboard();
  E.OnPasteCustomClipboardFormats = nullptr;
  E.SetPictureShapeClass(nullptr);
  E.PasteFromClipboard();
  EXPECT_TRUE(handled);
  EXPECT_EQ(Layer->ItemCount(), 0);
}

TEST_F(EditorClipboard, ABusyClipboardIsTriedFiveTimesAndFormatsHaveNames) {
  TmekClipboard* c = MekClipboard();
  std::vector<int32_t> waits;
  c->CanOpen = [] { return false; };
  c->Wait = [&](int32_t Ms) { waits.push_back(Ms); };
  try {
    c->SetAsText(QStringLiteral("x"));
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Clipboard cannot be opened, try again"));
  }
  c->CanOpen = nullptr;
  c->Wait = nullptr;
  EXPECT_EQ(waits, (std::vector<int32_t>{150, 300, 450, 600}));
  EXPECT_EQ(c->OpenCount(), 0);
  EXPECT_EQ(TmekClipboard::GetClipboardFormatString(13), QStringLiteral("Standard clipboard format (CF_UNICODETEXT)"));
  EXPECT_EQ(TmekClipboard::GetClipboardFormatString(c->ObjectsFormat()),
            QStringLiteral("mekObjectsDBFormat (%1)").arg(c->ObjectsFormat()));
  E.Select(A);
  E.CopyToClipboard();
  EXPECT_EQ(c->GetClipboardFormats().split(QStringLiteral("\r\n")).size(), 3);
}

// Pictures go onto the clipboard and come back as pictures or bitmaps (an SVG as itself), with a
// report of their size; a control's settings travel as its component text.
TEST_F(EditorClipboard, PicturesAndComponentsGoThroughTheClipboardObject) {
  TmekClipboard* c = MekClipboard();
  QImage image(4, 3, QImage::Format_ARGB32);
  image.fill(QColor(10, 200, 30));
  TOwned<TPngImage> png(Create<TPngImage>());
  png->SetImage(image);
  TOwned<TPicture> picture(Create<TPicture>()), back(Create<TPicture>()), empty(Create<TPicture>());
  picture->SetGraphic(png.get());
  c->Assign(picture.get());
  EXPECT_EQ(c->GetClipboardInfoDIB(), QStringLiteral("Clipboard data of CF_DIB format: \r\nWidth: 4 px\r\nHeight: 3 px\r\n"
                                                     "Bit depth: 32 bpp\r\nCompression format: Uncompressed format (BI_RGB)"));
  TOwned<TBitmap> bitmap(Create<TBitmap>());
  bitmap->Assign(c);
  EXPECT_EQ(bitmap->Image().convertToFormat(QImage::Format_ARGB32), image);
  TOwned<TSvgGraphic> svg(Create<TSvgGraphic>());
  QByteArray drawing = R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10"><rect width="20" height="10"/></svg>)";
  QBuffer in(&drawing);
  in.open(QIODevice::ReadOnly);
  svg->LoadFromStream(&in);
  c->Assign(svg.get());
  back->Assign(c);
  ASSERT_NE(dynamic_cast<TSvgGraphic*>(back->Graphic()), nullptr);
  EXPECT_EQ(back->Width(), 20);
  // An empty picture empties the clipboard; then there is nothing to take.
  c->Assign(back.get());
  c->Assign(empty.get());
  EXPECT_TRUE(c->GetClipboardInfoDIB().isEmpty());
  EXPECT_THROW(back->Assign(c), EmekClipboardException);

  EXPECT_FALSE(c->GetComponent(&Other));
  E.SetUndoLimit(7);
  c->SetComponent(&E);
  EXPECT_TRUE(c->GetComponent(&Other));
  EXPECT_EQ(Other.SaveToText().section(QLatin1Char('\n'), 1), E.SaveToText().section(QLatin1Char('\n'), 1));
}

}  // namespace
}  // namespace vorn::test

#include "EditorClipboardTest.moc"

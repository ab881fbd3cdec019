// A shape's styles: what each style change announces, the shared shape colour, the Has... answers,
// the device pens, point handles and pictures drawn by the shape, and the filled and unfilled
// hit test of the plain shape.

#include "ModelTestSupport.h"

#include <vorn/common/Canvas.h>
#include <vorn/common/CommonLib.h>
#include <vorn/common/KxDeUtils.h>
#include <vorn/common/Rounding.h>
#include <vorn/common/Units.h>
#include <vorn/model/KxDeShapeFont.h>
#include <vorn/model/KxDeShapeGradient.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMetaProperty>
#include <QTemporaryDir>

namespace vorn::test {
namespace {

// A test shape whose style setters are reachable and whose style hooks are recorded.
class TStyledShape : public TTestShape {
 public:
  using TTestShape::TTestShape;
  using TKxDeShapeBase::SetBrush;
  using TKxDeShapeBase::SetFont;
  using TKxDeShapeBase::SetGradient;
  using TKxDeShapeBase::SetPen;
  using TKxDeShapeBase::SetPicture;
  using TKxDeShapeBase::SetPictureStyle;

  void SetNoAntialiasing(bool Value) { FNoAntialiasing = Value; }
  void Use(TKxDeShapeStyle Style) { SetShapeStyle(ShapeStyle() + Style); }
  void DoNotUse(TKxDeShapeStyle Style) { SetShapeStyle(ShapeStyle() - Style); }

 protected:
  void BrushChanging(TObject*) override { Hook("brush changing"); }
  void BrushChanged(TObject*) override { Hook("brush changed"); }
  void PenChanging(TObject*) override { Hook("pen changing"); }
  void PenChanged(TObject*) override { Hook("pen changed"); }
  void FontChanging(TObject*) override { Hook("font changing"); }
  void FontChanged(TObject*) override { Hook("font changed"); }
  void GradientChanging(TObject*) override { Hook("gradient changing"); }
  void GradientChanged(TObject*) override { Hook("gradient changed"); }
  void PictureChanging(TObject*) override { Hook("picture changing"); }
  void PictureChanged(TObject*) override { Hook("picture changed"); }
  void PictureStyleChanging(TObject*) override { Hook("picture style changing"); }
  void PictureStyleChanged(TObject*) override { Hook("picture style changed"); }

 private:
  void Hook(const std::string& What) {
    if (Log) Log->Add("hook " + What);
  }
};

// A png file of W x H pixels: the left half red, the right half blue.
QString WriteHalves(const QTemporaryDir& Dir, const QString& Name, int W, int H) {
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(Qt::blue);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W / 2; ++x) img.setPixel(x, y, qRgb(255, 0, 0));
  const QString path = Dir.filePath(Name);
  img.save(path, "PNG");
  return path;
}

class ShapeStyles : public ModelFixtureOf<TStyledShape> {
 protected:

  // What reached the surface (delivered changes and actions), without the hooks.
  Strings Delivered() const {
    Strings out;
    for (const auto& e : Log.Entries)
      if (e.rfind("hook", 0) != 0) out.push_back(e);
    return out;
  }

  QTemporaryDir Dir;
};

// ---- What each style change announces ------------------------------------------------------------

TEST_F(ShapeStyles, BrushChangeIsTwoActionsAroundOneDeliveredChange) {
  Shape->Use(TKxDeShapeStyle::kxssUsesBrush);
  Log.Clear();
  Shape->Brush()->SetStyle(TBrushStyle::bsCross);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChangingBrush shape ", "undo kxacChangingBrush shape ",
                                  "hook brush changing", "end kxacChangingBrush shape ",
                                  "start kxacChangingBrush shape Brush", "undo kxacChangingBrush shape Brush",
                                  "hook brush changed", "layer changed layer", "shape changed shape",
                                  "end kxacChangingBrush shape Brush"}));
  Log.Clear();
  Shape->Brush()->SetStyle(TBrushStyle::bsCross);
  EXPECT_TRUE(Log.Entries.empty()) << "an unchanged value announces nothing";
}

TEST_F(ShapeStyles, AStyleTheShapeDoesNotUseAnnouncesItsActionsButNoChange) {
  ASSERT_FALSE(Shape->ShapeStyle().Contains(TKxDeShapeStyle::kxssUsesBrush));
  TKxDeShapeNotifier* n = Create<TKxDeShapeNotifier>();
  WireNotifier(n, &Log);
  n->RegisterShape(Shape);
  Shape->Brush()->SetStyle(TBrushStyle::bsClear);
  EXPECT_EQ(Delivered(), (Strings{"start kxacChangingBrush shape ", "undo kxacChangingBrush shape ",
                                  "end kxacChangingBrush shape ", "start kxacChangingBrush shape Brush",
                                  "undo kxacChangingBrush shape Brush", "end kxacChangingBrush shape Brush"}));
  Log.Clear();
  // The pen is used by every shape from the start: its change is announced as coming and delivered.
  Shape->Pen()->SetColor(clRed);
  EXPECT_EQ(Delivered(), (Strings{"start kxacChangingPen shape ", "undo kxacChangingPen shape ",
                                  "notify changing shape", "end kxacChangingPen shape ",
                                  "start kxacChangingPen shape Pen", "undo kxacChangingPen shape Pen",
                                  "layer changed layer", "shape changed shape", "notify changed shape",
                                  "end kxacChangingPen shape Pen"}));
  Free(n);
}

TEST_F(ShapeStyles, FontGradientAndPictureAnnounceActionsOnlyBeforeTheChange) {
  Shape->Use(TKxDeShapeStyle::kxssUsesFont);
  Log.Clear();
  Shape->Font()->SetName(QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChangingFont shape ", "undo kxacChangingFont shape ",
                                  "hook font changing", "end kxacChangingFont shape ", "hook font changed",
                                  "layer changed layer", "shape changed shape"}));

  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  Log.Clear();
  Shape->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearV);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChangingGradient shape ", "undo kxacChangingGradient shape ",
                                  "hook gradient changing", "end kxacChangingGradient shape ",
                                  "hook gradient changed", "layer changed layer", "shape changed shape"}));

  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  TOwned<TKxDePicture> other(Create<TKxDePicture>(nullptr));
  other->SetKeepRatio(false);
  Log.Clear();
  Shape->SetPicture(other.get());
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChangingPicture shape ", "undo kxacChangingPicture shape ",
                                  "hook picture changing", "end kxacChangingPicture shape ",
                                  "hook picture changed", "layer changed layer", "shape changed shape"}));
  EXPECT_FALSE(Shape->Picture()->KeepRatio());
}

TEST_F(ShapeStyles, PictureStyleIsAnnouncedAsAChangedProperty) {
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  EXPECT_EQ(Log.Entries, (Strings{"start kxacChanging shape picture_style", "undo kxacChanging shape picture_style",
                                  "hook picture style changing", "end kxacChanging shape picture_style",
                                  "hook picture style changed"}))
      << "delivered only for a shape that uses pictures";
  EXPECT_EQ(Shape->PictureStyle(), TKxDeShapePictureStyle::kxdspTiled);
  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  Log.Clear();
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  EXPECT_TRUE(Log.Entries.empty());
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
}

TEST_F(ShapeStyles, SetGradientAnnouncesTwiceAndDoesNothingWithoutAGradient) {
  TOwned<TKxDeShapeGradient> source(Create<TKxDeShapeGradient>());
  source->SetStyle(TKxDeShapeGradientStyle::kxdgsDiamond);
  Shape->SetGradient(source.get());
  EXPECT_TRUE(Log.Entries.empty());
  EXPECT_EQ(Shape->Gradient(), nullptr);

  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  Log.Clear();
  Shape->SetGradient(source.get());
  // The setter announces the change, and the gradient's assignment announces it again.
  EXPECT_EQ(Log.Count("start kxacChangingGradient shape "), 2u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);
  EXPECT_EQ(Shape->Gradient()->Style(), TKxDeShapeGradientStyle::kxdgsDiamond);
}

TEST_F(ShapeStyles, PictureLoadsAndPropertyChangesAreOneChangeOfTheShape) {
  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  Log.Clear();
  Shape->Picture()->LoadFromFile(WriteHalves(Dir, QStringLiteral("p.png"), 8, 4));
  EXPECT_EQ(Delivered(), (Strings{"layer changed layer", "shape changed shape"}));
  EXPECT_EQ(Log.Count("hook picture changed"), 1u);
  EXPECT_TRUE(Shape->HasPicture());

  Log.Clear();
  Shape->Picture()->SetKeepRatio(false);
  EXPECT_EQ(Delivered(), (Strings{"layer changed layer", "shape changed shape"}));

  // A failed load changes nothing and leaves the shape's update bracket closed.
  Log.Clear();
  EXPECT_THROW(Shape->Picture()->LoadFromFile(Dir.filePath(QStringLiteral("missing.png"))), Exception);
  EXPECT_TRUE(Delivered().empty());
  EXPECT_FALSE(Shape->InUpdate());
  EXPECT_EQ(Shape->Picture()->GetWidth(), 8);
}

TEST_F(ShapeStyles, StyleRecordsGoToTheStyleObjects) {
  Shape->SetPenRec(TKxDePenRec{clBlue, TPenMode::pmXor, TPenStyle::psDot, 0.7f});
  EXPECT_EQ(Shape->Pen()->ToRec(), (TKxDePenRec{clBlue, TPenMode::pmXor, TPenStyle::psDot, 0.7f}));
  Shape->SetBrushRec(TKxDeBrushRec{clYellow, TBrushStyle::bsCross});
  EXPECT_EQ(Shape->Color(), clYellow) << "the brush colour is the shape colour";
  EXPECT_EQ(Shape->Brush()->Style(), TBrushStyle::bsCross);
  Shape->SetFontRec(TKxDeShapeFontRec{0, clRed, QStringLiteral("DejaVu Sans"), 14, {TFontStyle::fsItalic}});
  EXPECT_EQ(Shape->Font()->Size(), 14);
  EXPECT_EQ(Shape->Font()->Name(), QStringLiteral("DejaVu Sans"));

  TKxDeShapeGradienthRec g;
  g.Style = TKxDeShapeGradientStyle::kxdgsRadialC;
  g.Shift = 50;
  Shape->SetGradientRec(g);  // no gradient: ignored
  EXPECT_EQ(Shape->Gradient(), nullptr);
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  Shape->SetGradientRec(g);
  EXPECT_EQ(Shape->Gradient()->Style(), TKxDeShapeGradientStyle::kxdgsRadialC);
  EXPECT_EQ(Shape->Gradient()->Shift(), 50);
}

TEST_F(ShapeStyles, AssignCopiesBrushAndPenWithTheirAnnouncements) {
  TOwned<TStyledShape> other(Create<TStyledShape>(nullptr, nullptr));
  other->Brush()->SetColor(clRed);
  other->Pen()->SetWidth(1.5f);
  other->SetUserData1(QStringLiteral("u1"));
  Shape->Assign(other.get());
  EXPECT_EQ(Shape->Brush()->Color(), clRed);
  EXPECT_FLOAT_EQ(Shape->Pen()->Width(), 1.5f);
  EXPECT_EQ(Shape->UserData1(), QStringLiteral("u1"));
  EXPECT_EQ(Log.Count("start kxacChangingBrush shape Brush"), 1u);
  EXPECT_EQ(Log.Count("start kxacChangingPen shape Pen"), 1u);
}

// ---- The shared colour ---------------------------------------------------------------------------

TEST_F(ShapeStyles, BrushGradientAndShapeShareOneColour) {
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  Shape->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  Shape->Brush()->SetColor(clRed);
  EXPECT_EQ(Shape->Color(), clRed);
  EXPECT_EQ(Shape->Gradient()->GetColorBegin(), clRed);
  QImage pattern;
  ASSERT_TRUE(Shape->Gradient()->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(255, 0, 0)) << "the pattern follows the shape colour";

  Log.Clear();
  Shape->SetColor(clBlue);
  EXPECT_TRUE(Log.Entries.empty()) << "the shape colour itself announces nothing";
  EXPECT_EQ(Shape->Brush()->Color(), clBlue);
  EXPECT_EQ(Shape->Gradient()->GetColorBegin(), clBlue);
  EXPECT_FALSE(Shape->Gradient()->NeedsUpdate()) << "rebuilt at once";
  ASSERT_TRUE(Shape->Gradient()->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(0, 0, 255));

  Shape->Gradient()->SetColorBegin(clLime);
  EXPECT_EQ(Shape->Color(), clLime);
  EXPECT_EQ(Shape->Brush()->Color(), clLime);

  // A gradient made later starts at the shape colour.
  Shape->DoNotUse(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_EQ(Shape->Gradient(), nullptr);
  Shape->SetColor(clYellow);
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_EQ(Shape->Gradient()->GetColorBegin(), clYellow);
  EXPECT_EQ(Shape->Gradient()->ColorEnd(), clWhite) << "a fresh gradient";
}

// ---- Has... -------------------------------------------------------------------------------------

TEST_F(ShapeStyles, HasPenNeedsTheStyleAWidthAColourAndAVisibleStyle) {
  EXPECT_TRUE(Shape->HasPen());
  Shape->Pen()->SetWidth(-1);
  EXPECT_FLOAT_EQ(Shape->Pen()->Width(), 0.01f) << "a negative width is clamped";
  EXPECT_TRUE(Shape->HasPen());
  Shape->Pen()->SetWidth(0);
  EXPECT_FALSE(Shape->HasPen());
  Shape->Pen()->SetWidth(0.3f);
  Shape->Pen()->SetStyle(TPenStyle::psClear);
  EXPECT_FALSE(Shape->HasPen());
  Shape->Pen()->SetStyle(TPenStyle::psDash);
  Shape->Pen()->SetColor(clNone);
  EXPECT_FALSE(Shape->HasPen());
  Shape->Pen()->SetColor(clBlack);
  Shape->DoNotUse(TKxDeShapeStyle::kxssUsesPen);
  EXPECT_FALSE(Shape->HasPen());
}

TEST_F(ShapeStyles, HasBrushAndHasGradient) {
  EXPECT_FALSE(Shape->HasBrush()) << "a plain shape does not use a brush";
  Shape->Use(TKxDeShapeStyle::kxssUsesBrush);
  EXPECT_TRUE(Shape->HasBrush());
  Shape->Brush()->SetStyle(TBrushStyle::bsClear);
  EXPECT_FALSE(Shape->HasBrush());
  Shape->Brush()->SetStyle(TBrushStyle::bsSolid);
  Shape->Brush()->SetColor(clNone);
  EXPECT_FALSE(Shape->HasBrush());

  EXPECT_FALSE(Shape->HasGradient());
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_FALSE(Shape->HasGradient()) << "kxdgsNone, and the shape colour is clNone";
  Shape->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsRadialTL);
  EXPECT_FALSE(Shape->HasGradient()) << "the begin colour is the shape colour, clNone";
  Shape->SetColor(clRed);
  EXPECT_TRUE(Shape->HasGradient());
  Shape->Gradient()->SetColorEnd(clNone);
  EXPECT_FALSE(Shape->HasGradient());
}

TEST_F(ShapeStyles, HasPictureAndHasEmptyPicture) {
  EXPECT_FALSE(Shape->HasPicture());
  EXPECT_FALSE(Shape->HasEmptyPicture()) << "only shapes that use pictures";
  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  EXPECT_TRUE(Shape->HasEmptyPicture());
  Shape->Picture()->LoadEmptyPicture();
  EXPECT_TRUE(Shape->HasPicture()) << "the placeholder is a picture";
  EXPECT_FALSE(Shape->HasEmptyPicture());
  Shape->Picture()->LoadFromFile(QString());
  EXPECT_TRUE(Shape->HasEmptyPicture());
}

// ---- Fonts --------------------------------------------------------------------------------------

TEST_F(ShapeStyles, ATextViewPresentsTheShapeFontWithAHeight) {
  Shape->Use(TKxDeShapeStyle::kxssUsesFont);
  TOwned<TmekFont> view(Create<TmekFont>(Shape));
  EXPECT_EQ(view->Font(), Shape->Font());
  EXPECT_EQ(Shape->Font()->Name(), QStringLiteral("Swiss 721"));
  EXPECT_FLOAT_EQ(view->Height(), 3.0f);
  EXPECT_EQ(Shape->Font()->Size(), TKxDeUtils::MMToFontPoints(3.0f));
  Log.Clear();
  view->SetHeight(0);
  view->SetHeight(-2);
  EXPECT_TRUE(Log.Entries.empty()) << "non-positive heights are ignored";
  view->SetHeight(6);
  EXPECT_EQ(Shape->Font()->Size(), TKxDeUtils::MMToFontPoints(6.0f));
  EXPECT_EQ(Log.Count("start kxacChangingFont shape "), 1u);
  EXPECT_EQ(Log.Count("shape changed shape"), 1u);

  TKxDeShapeFontRec2 rec;
  rec.Name = QStringLiteral("DejaVu Sans Mono");
  rec.Size = 4.5f;
  rec.Style = TFontStyles{TFontStyle::fsBold};
  view->AssignRec(rec);
  EXPECT_EQ(Shape->Font()->Name(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_FLOAT_EQ(view->Height(), 4.5f);
  EXPECT_EQ(Shape->Font()->Style(), TFontStyles{TFontStyle::fsBold});
}

TEST_F(ShapeStyles, LoadingTheShapeFontSubstitutesAnUninstalledFamily) {
  QStringList messages;
  const TDebugMessageSink previous = SetDebugMessageSink([&](const QString& m) { messages << m; });
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Font");
  XmlWriteString(e, "Name", QStringLiteral("Nowhere Grotesk"));
  Shape->Font()->LoadFromXML(e);
  SetDebugMessageSink(previous);
  const QString installed = CheckForFont(QStringLiteral("Nowhere Grotesk"));
  ASSERT_FALSE(installed.isEmpty());
  EXPECT_EQ(Shape->Font()->Name(), installed);
  EXPECT_EQ(Shape->Font()->Substituted(), QStringLiteral("Nowhere Grotesk"));
  EXPECT_EQ(messages.size(), 1);
  EXPECT_EQ(Log.Count("start kxacChangingFont shape "), 1u) << "a load is one announced font change";
}

// ---- Pictures: shared bytes -----------------------------------------------------------------------

TEST_F(ShapeStyles, AssigningAPictureSharesTheFileBytes) {
  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  const QString path = WriteHalves(Dir, QStringLiteral("shared.png"), 6, 6);
  Shape->Picture()->LoadFromFile(path);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_EQ(Shape->Picture()->ImageFileStream(), bytes);

  TOwned<TStyledShape> other(Create<TStyledShape>(nullptr, nullptr));
  other->SetPicture(Shape->Picture());
  EXPECT_EQ(other->Picture()->ImageFileStream(), bytes);
  EXPECT_EQ(other->Picture()->ImageFileStream().constData(), Shape->Picture()->ImageFileStream().constData())
      << "the bytes are shared, not copied";
  EXPECT_EQ(other->Picture()->PicturePath(), path);
  EXPECT_EQ(other->Picture()->GetWidth(), 6);
}

// ---- Device pens --------------------------------------------------------------------------------

TEST(ShapeDevicePens, WidthsCapsAndSolidOutlines) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(0.5f);
  pen->SetColor(clRed);
  const double zoom = 2;
  EXPECT_EQ(TKxDeShapeBase::DevicePenWidth(pen.get(), zoom), Round32(0.5 * CoordsPixelsPerMMConvertValue * 2));
  pen->SetStyle(TPenStyle::psDash);
  const QPen outline = TKxDeShapeBase::CreateExtendedPen2(pen.get(), zoom);
  EXPECT_EQ(outline.width(), 4);
  EXPECT_EQ(outline.capStyle(), Qt::SquareCap);
  EXPECT_EQ(outline.style(), Qt::SolidLine) << "outline pens carry no dashes";
  EXPECT_EQ(outline.color(), QColor(255, 0, 0));

  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), zoom, TmekLineShape::mekLshRounded,
                                              TmekLineShape::mekLshSquared)
                .capStyle(),
            Qt::RoundCap);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), zoom, TmekLineShape::mekLshArrowed,
                                              TmekLineShape::mekLshRounded)
                .capStyle(),
            Qt::SquareCap);

  pen->SetWidth(0.01f);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen2(pen.get(), 1).width(), 0) << "below half a pixel: the thin pen";
  pen->SetColor(clNone);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen2(pen.get(), 1).style(), Qt::NoPen);
  pen->SetColor(clBlack);
  pen->SetStyle(TPenStyle::psClear);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 1, {}, {}).style(), Qt::NoPen);
}

TEST(ShapeDevicePens, DashTablesScaleWithTheZoom) {
  auto zoomed = [](TPenStyle Style, double Zoom) {
    std::vector<uint32_t> p{99};
    TKxDeShapeBase::CreateZoomedPenStyle(Style, Zoom, p);
    return p;
  };
  auto px = [](double Mm, double Zoom) {
    return static_cast<uint32_t>(Round32(Mm * CoordsPixelsPerMMConvertValue * Zoom));
  };
  EXPECT_EQ(zoomed(TPenStyle::psSolid, 1), (std::vector<uint32_t>{px(1, 1), 0}));
  EXPECT_EQ(zoomed(TPenStyle::psDash, 1), (std::vector<uint32_t>{11, 11}));
  EXPECT_EQ(zoomed(TPenStyle::psDot, 2), (std::vector<uint32_t>{8, 15}));
  EXPECT_EQ(zoomed(TPenStyle::psDashDot, 2), (std::vector<uint32_t>{23, 15, 8, 23}));
  EXPECT_EQ(zoomed(TPenStyle::psDashDotDot, 0.5),
            (std::vector<uint32_t>{px(3, .5), px(2, .5), px(1, .5), px(2, .5), px(1, .5), px(3, .5)}));
  EXPECT_EQ(zoomed(TPenStyle::psUserStyle, 1), zoomed(TPenStyle::psDashDotDot, 1));
  for (TPenStyle s : {TPenStyle::psClear, TPenStyle::psInsideFrame, TPenStyle::psAlternate})
    EXPECT_EQ(zoomed(s, 3), (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(zoomed(static_cast<TPenStyle>(42), 1), (std::vector<uint32_t>{99})) << "unknown style: untouched";
}

TEST(ShapeDevicePens, QtDashesAreCountedInPenWidths) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(0.5f);  // 4 device pixels at zoom 2
  pen->SetStyle(TPenStyle::psDashDot);
  const QPen q = TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, {}, {});
  EXPECT_EQ(q.dashPattern(), (QList<qreal>{23 / 4.0, 15 / 4.0, 8 / 4.0, 23 / 4.0}));
  pen->SetStyle(TPenStyle::psSolid);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, {}, {}).style(), Qt::SolidLine) << "no gaps";
  pen->SetStyle(TPenStyle::psInsideFrame);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, {}, {}).style(), Qt::SolidLine);
  // A thin pen (width below one pixel) counts its dashes in pixels.
  pen->SetWidth(0.1f);
  pen->SetStyle(TPenStyle::psDash);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 1, {}, {}).dashPattern(), (QList<qreal>{11, 11}));
}

TEST(ShapeDevicePens, TheCanvasPenDrawsTheDashesInPixels) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(0.5f);  // 2 pixels at zoom 1; dashes of 11, gaps of 11, square ends of 1 pixel
  pen->SetStyle(TPenStyle::psDash);
  QImage img(80, 20, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    TKxDeShapeBase::CreateExtendedPen(&c, pen.get(), 1, TmekLineShape::mekLshSquared, TmekLineShape::mekLshSquared);
    c.MoveTo(0, 10);
    c.LineTo(80, 10);
  }
  EXPECT_EQ(img.pixel(5, 10), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(16, 10), qRgb(255, 255, 255)) << "inside the first gap";
  EXPECT_EQ(img.pixel(27, 10), qRgb(0, 0, 0)) << "the second dash";
  EXPECT_EQ(img.pixel(5, 14), qRgb(255, 255, 255)) << "two pixels wide";
}

TEST(ShapeDevicePens, TheOutlinePenDrawsInsideTheFrame) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(2);  // 8 device pixels at zoom 1; the outline pen has no dashes
  pen->SetStyle(TPenStyle::psDash);
  QImage img(60, 50, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    TCanvas c(&img);
    TKxDeShapeBase::CreateExtendedPen2(&c, pen.get(), 1);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.Rectangle(10, 10, 50, 40);
  }
  std::string row;  // across the middle
  for (int x = 0; x < 60; ++x) row += img.pixel(x, 25) == qRgb(255, 255, 255) ? '.' : '#';
  EXPECT_EQ(row, std::string(10, '.') + std::string(8, '#') + std::string(24, '.') + std::string(8, '#') +
                     std::string(10, '.'));
}

// ---- Point handles ------------------------------------------------------------------------------

TEST_F(ShapeStyles, DrawPointFramesAndFillsAHandle) {
  QImage img(20, 20, QImage::Format_RGB32);
  auto draw = [&](TColor Frame, TColor Fill) {
    img.fill(Qt::white);
    TCanvas c(&img);
    c.Pen()->SetWidth(5);
    c.Pen()->SetMode(TPenMode::pmNot);
    Shape->DrawPoint(&c, TRect{5, 5, 15, 15}, Frame, Fill);
  };
  draw(clRed, clBlue);
  EXPECT_EQ(img.pixel(5, 10), qRgb(255, 0, 0)) << "a one-pixel frame";
  EXPECT_EQ(img.pixel(6, 10), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(14, 14), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(15, 10), qRgb(255, 255, 255)) << "right and bottom edges are outside";
  EXPECT_EQ(img.pixel(4, 10), qRgb(255, 255, 255));
  draw(clNone, clBlue);
  EXPECT_EQ(img.pixel(5, 10), qRgb(0, 0, 255)) << "the frame takes the fill colour";
  draw(clRed, clNone);
  EXPECT_EQ(img.pixel(10, 10), qRgb(255, 255, 255)) << "no fill";
  EXPECT_EQ(img.pixel(5, 10), qRgb(255, 0, 0));
  draw(clNone, clNone);
  EXPECT_EQ(img.pixel(5, 10), qRgb(255, 255, 255));
}

// ---- Pictures drawn by the shape ------------------------------------------------------------------

class ShapePictures : public ShapeStyles {
 protected:
  void SetUp() override {
    ShapeStyles::SetUp();
    Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
    Shape->Picture()->LoadFromFile(WriteHalves(Dir, QStringLiteral("halves.png"), 20, 10));
  }
  // Draws into a white 60 x 40 image; at this zoom a picture pixel is a device pixel.
  void Draw(const TRect& R, PmekDeviceCapsInfo Caps = nullptr, bool Disabled = false, int32_t Angle = 0,
            bool IgnoreRatio = false) {
    Img = QImage(60, 40, QImage::Format_RGB32);
    Img.fill(Background);
    TCanvas c(&Img);
    c.SetTransform(Turn);
    Shape->DrawPicture(&c, R, CoordsPixelsPerMMConvertValue, Caps, Disabled, Angle, IgnoreRatio);
  }
  QRgb At(int X, int Y) const { return Img.pixel(X, Y); }
  // The smallest rectangle holding every pixel that is not the background.
  QRect InkBounds() const {
    QRect r;
    for (int y = 0; y < Img.height(); ++y)
      for (int x = 0; x < Img.width(); ++x)
        if (Img.pixel(x, y) != Background) r |= QRect(x, y, 1, 1);
    return r;
  }

  static constexpr QRgb Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255), White = qRgb(255, 255, 255);
  QRgb Background = White;
  QTransform Turn;  // the painting transform of the canvas
  QImage Img;
};

TEST_F(ShapePictures, CenterAndDefaultDrawTheNaturalSize) {
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  Draw(TRect{0, 0, 60, 40});  // the 20 x 10 picture lands at (20, 15)
  EXPECT_EQ(At(20, 15), Red);
  EXPECT_EQ(At(39, 24), Blue);
  EXPECT_EQ(At(19, 20), White);
  EXPECT_EQ(At(30, 14), White);
  EXPECT_EQ(At(30, 25), White);

  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);
  Draw(TRect{3, 4, 60, 40});
  EXPECT_EQ(At(3, 4), Red);
  EXPECT_EQ(At(22, 13), Blue);
  EXPECT_EQ(At(23, 8), White);
  EXPECT_EQ(At(5, 14), White);
}

TEST_F(ShapePictures, TiledRepeatsFromTheTopLeftCorner) {
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  Draw(TRect{5, 5, 45, 35});
  EXPECT_EQ(At(5, 5), Red);
  EXPECT_EQ(At(27, 17), Red) << "tile (1, 1), its pixel (2, 2)";
  EXPECT_EQ(At(44, 34), Blue);
  EXPECT_EQ(At(4, 20), White);
}

TEST_F(ShapePictures, StretchKeepsTheRatioByShrinkingTheLongerSide) {
  // Ratio 2: a 60 x 40 rectangle becomes 60 x 30, shrunk by 5 at the top and the bottom.
  Draw(TRect{0, 0, 60, 40});
  EXPECT_EQ(At(30, 4), White);
  EXPECT_EQ(At(10, 5), Red);
  EXPECT_EQ(At(50, 34), Blue);
  EXPECT_EQ(At(30, 35), White);
  // A 60 x 20 rectangle becomes 40 x 20, shrunk by 10 on the left and the right.
  Draw(TRect{0, 10, 60, 30});
  EXPECT_EQ(At(9, 20), White);
  EXPECT_EQ(At(10, 20), Red);
  EXPECT_EQ(At(49, 20), Blue);
  EXPECT_EQ(At(50, 20), White);
  // Without keeping the ratio, or when told to skip it, the whole rectangle is filled.
  Draw(TRect{0, 0, 60, 40}, nullptr, false, 0, true);
  EXPECT_EQ(At(0, 0), Red);
  EXPECT_EQ(At(59, 39), Blue);
  Shape->Picture()->SetKeepRatio(false);
  Draw(TRect{0, 0, 60, 40});
  EXPECT_EQ(At(0, 0), Red);
}

TEST_F(ShapePictures, DeviceCorrectionAndPrintedTurns) {
  TmekDeviceCapsInfo caps;
  caps.CorrectionFactorY = 2;
  Draw(TRect{0, 0, 60, 40}, &caps);  // fitted to 60 x 30 at y 5, then half as high
  EXPECT_EQ(At(10, 6), Red);
  EXPECT_EQ(At(50, 19), Blue);
  EXPECT_EQ(At(10, 21), White);

  // For a printer at a quarter turn the rectangle is fitted to the inverse ratio; the picture in
  // it is not turned (the painting transform does that).
  caps.Init();
  caps.IsGDIPrinting = true;
  Draw(TRect{0, 0, 60, 40}, &caps, false, 90);
  EXPECT_EQ(InkBounds(), QRect(20, 0, 20, 40));
  EXPECT_EQ(At(21, 35), Red);
  EXPECT_EQ(At(38, 5), Blue);

  // Elsewhere the shape turns the canvas itself: the picture is drawn as it is.
  Draw(TRect{0, 0, 60, 40}, nullptr, false, 90);
  EXPECT_EQ(At(10, 20), Red);
  EXPECT_EQ(At(50, 20), Blue);
}

TEST_F(ShapePictures, PrintedTurnsComeFromThePaintingTransform) {
  // A centred 20 x 10 picture in a 60 x 40 shape, the painting transform turning it about the
  // shape's centre: it keeps its own size and turns with the shape's frame.
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);
  TmekDeviceCapsInfo caps;
  caps.IsGDIPrinting = true;
  struct TCase {
    int Angle;
    QRect Ink;
    QPoint RedAt, BlueAt;
  };
  for (const TCase& t :
       {TCase{90, QRect(25, 10, 10, 20), {30, 28}, {30, 11}}, TCase{180, QRect(20, 15, 20, 10), {38, 20}, {21, 20}},
        TCase{270, QRect(25, 10, 10, 20), {30, 11}, {30, 28}}}) {
    Shape->SetWSpaceMtx(TKxDeShapeBase::InitWSpaceMtx());
    Shape->Rotate(TPointF{30, 20}, static_cast<float>(t.Angle));
    Turn = Shape->WSpaceMtx();
    Draw(TRect{0, 0, 60, 40}, &caps, false, t.Angle);
    EXPECT_EQ(InkBounds(), t.Ink) << t.Angle;
    EXPECT_EQ(At(t.RedAt.x(), t.RedAt.y()), Red) << t.Angle;
    EXPECT_EQ(At(t.BlueAt.x(), t.BlueAt.y()), Blue) << t.Angle;
  }
}

TEST_F(ShapePictures, DisabledPicturesAreGrey) {
  Draw(TRect{0, 0, 60, 40}, nullptr, true);
  const QRgb p = At(10, 20);
  EXPECT_NE(p, Red);
  EXPECT_EQ(qRed(p), qGreen(p));
  EXPECT_EQ(qGreen(p), qBlue(p));
}

TEST_F(ShapePictures, WithoutAntialiasingThePictureIsCopiedOpaque) {
  QImage half(4, 4, QImage::Format_ARGB32);
  half.fill(Qt::transparent);
  for (int y = 0; y < 4; ++y) half.setPixel(0, y, qRgba(255, 0, 0, 255));
  const QString path = Dir.filePath(QStringLiteral("alpha.png"));
  ASSERT_TRUE(half.save(path, "PNG"));
  Shape->Picture()->LoadFromFile(path);
  Shape->Picture()->SetKeepRatio(false);
  Background = qRgb(0, 0, 0);
  Draw(TRect{0, 0, 40, 40});
  EXPECT_EQ(At(2, 20), Red);
  EXPECT_EQ(At(30, 20), Background) << "transparent pixels show what lies below";
  Shape->SetNoAntialiasing(true);
  Draw(TRect{0, 0, 40, 40});
  EXPECT_EQ(At(2, 20), Red);
  EXPECT_EQ(At(9, 20), Red) << "stretched without smoothing: whole picture pixels";
  EXPECT_EQ(At(10, 20), White) << "the intermediate bitmap is opaque, in the picture's transparent colour";
}

TEST_F(ShapePictures, NothingIsDrawnWithoutARectangleOrAPicture) {
  Draw(TRect{10, 10, 10, 30});
  EXPECT_EQ(At(10, 20), White);
  Shape->DoNotUse(TKxDeShapeStyle::kxssUsesPicture);
  Draw(TRect{0, 0, 60, 40});
  EXPECT_EQ(At(30, 20), White);
  Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
  Shape->Picture()->LoadFromFile(QString());
  Draw(TRect{0, 0, 60, 40});
  EXPECT_EQ(At(30, 20), White);
}

// ---- Filled and unfilled hit test -----------------------------------------------------------------

class PlainShapeHit : public ShapeStyles {
 protected:
  void SetUp() override {
    ShapeStyles::SetUp();
    for (const TPointF& p : {TPointF{0, 0}, TPointF{100, 0}, TPointF{100, 20}, TPointF{0, 20}}) Shape->Add(p.X, p.Y);
  }
};

TEST_F(PlainShapeHit, AFilledShapeIsHitInside) {
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, 10}, 2, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{-1.5f, 10}, 2, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{-2.5f, 10}, 2, false));
  Shape->SetRotation(90);
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, -30}, 0, false)) << "turned with the shape";
}

TEST_F(PlainShapeHit, AnUnfilledShapeIsHitOnlyNearItsFrame) {
  Shape->Brush()->SetStyle(TBrushStyle::bsClear);
  EXPECT_FALSE(Shape->PointOnShape(TPointF{50, 10}, 2, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{1, 10}, 2, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{-1.5f, 10}, 2, false));
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, 21.5f}, 2, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{50, 22.5f}, 2, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{0, 10}, 0, false)) << "no band without Fuzz";
  EXPECT_FALSE(Shape->PointOnShape(TPointF{1, 10}, -2, false));
  // Rotation is not applied: the band stays around the unturned bounds.
  Shape->SetRotation(90);
  EXPECT_TRUE(Shape->PointOnShape(TPointF{1, 10}, 2, false));
  EXPECT_FALSE(Shape->PointOnShape(TPointF{50, -30}, 2, false));
  // A clNone colour is unfilled too; the hit test of the whole shape sees the same.
  Shape->Brush()->SetStyle(TBrushStyle::bsSolid);
  Shape->Brush()->SetColor(clNone);
  EXPECT_EQ(Shape->HitTest(TPointF{50, 10}, 2, 4, false, false, {}).Part, TKxDeShapePart::kxspNone);
  EXPECT_EQ(Shape->HitTest(TPointF{99, 10}, 2, 4, false, false, {}).Part, TKxDeShapePart::kxspShape);
}

TEST_F(PlainShapeHit, AnUnfilledShapeWithEmptyBoundsIsNeverHit) {
  Shape->Clear();
  Shape->Add(0, 5);
  Shape->Add(100, 5);
  Shape->Brush()->SetStyle(TBrushStyle::bsClear);
  EXPECT_FALSE(Shape->PointOnShape(TPointF{50, 5}, 3, false));
  Shape->Brush()->SetStyle(TBrushStyle::bsSolid);
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, 5}, 3, false)) << "filled: the inflated bounds";
}

// ---- Life of the style objects and their published names ------------------------------------------

TEST_F(ShapeStyles, TheGradientLivesExactlyWhileTheShapeUsesIt) {
  EXPECT_EQ(Shape->Gradient(), nullptr);
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  TKxDeShapeGradient* g = Shape->Gradient();
  ASSERT_NE(g, nullptr);
  Shape->Use(TKxDeShapeStyle::kxssUsesBrush);
  EXPECT_EQ(Shape->Gradient(), g) << "kept while the style stays";
  Shape->DoNotUse(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_EQ(Shape->Gradient(), nullptr);
  // A shape freed with all its styles made lets none of them call back.
  auto* s = Create<TStyledShape>(nullptr, Layer);
  s->Use(TKxDeShapeStyle::kxssUsesGradient);
  s->Font()->SetSize(9);
  s->Picture()->SetKeepRatio(false);
  Free(s);
  EXPECT_EQ(Layer->GetItemCount(), 1);
}

TEST_F(ShapeStyles, StylesArePublishedByName) {
  const QMetaObject* meta = Shape->metaObject();
  const QMetaProperty brush = meta->property(meta->indexOfProperty("Brush"));
  ASSERT_TRUE(brush.isValid());
  EXPECT_EQ(brush.readOnGadget(Shape).value<TKxDeShapeBrush*>(), Shape->Brush());
  for (const char* name : {"Pen", "Font", "Picture", "Gradient", "Color", "PictureStyle"})
    EXPECT_GE(meta->indexOfProperty(name), 0) << name;

  const QMetaProperty style = meta->property(meta->indexOfProperty("PictureStyle"));
  EXPECT_TRUE(style.writeOnGadget(Shape, QVariant::fromValue(TKxDeShapePictureStyle::kxdspCenter)));
  EXPECT_EQ(Shape->PictureStyle(), TKxDeShapePictureStyle::kxdspCenter);
  EXPECT_EQ(Log.Count("start kxacChanging shape picture_style"), 1u) << "written by name, announced as usual";

  const QMetaProperty color = meta->property(meta->indexOfProperty("Color"));
  EXPECT_TRUE(color.writeOnGadget(Shape, QVariant(static_cast<int>(clRed))));
  EXPECT_EQ(Shape->Brush()->Color(), clRed);

  TOwned<TKxDeShapePen> thick(Create<TKxDeShapePen>());
  thick->SetWidth(2);
  const QMetaProperty pen = meta->property(meta->indexOfProperty("Pen"));
  EXPECT_TRUE(pen.writeOnGadget(Shape, QVariant::fromValue(thick.get())));
  EXPECT_FLOAT_EQ(Shape->Pen()->Width(), 2);
}

}  // namespace
}  // namespace vorn::test

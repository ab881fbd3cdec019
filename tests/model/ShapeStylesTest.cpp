// A shape's styles: what each style change announces, the shared shape colour, the Has... answers,
// the device pens, point handles and pictures drawn by the shape, the filled and unfilled hit test of
// the plain shape, and style objects on their own.

#include "ModelTestSupport.h"

#include <QTransform>

namespace vorn::test {
namespace {

// A test shape whose style setters are reachable and whose style hooks are recorded.
class TStyledShape : public TTestShape {
 public:
  using TKxDeShapeBase::SetGradient;
  using TKxDeShapeBase::SetPen;
  using TKxDeShapeBase::SetPicture;
  using TKxDeShapeBase::SetPictureStyle;
  using TTestShape::TTestShape;
  void SetNoAntialiasing(bool Value) { FNoAntialiasing = Value; }
  void Use(TKxDeShapeStyle Style) { SetShapeStyle(ShapeStyle() + Style); }
  void DoNotUse(TKxDeShapeStyle Style) { SetShapeStyle(ShapeStyle() - Style); }

 protected:
  void BrushChanging(TObject*) override { Hook(); }
  void BrushChanged(TObject*) override { Hook(); }
  void PenChanging(TObject*) override { Hook(); }
  void PenChanged(TObject*) override { Hook(); }
  void FontChanging(TObject*) override { Hook(); }
  void FontChanged(TObject*) override { Hook(); }
  void GradientChanging(TObject*) override { Hook(); }
  void GradientChanged(TObject*) override { Hook(); }
  void PictureChanging(TObject*) override { Hook(); }
  void PictureChanged(TObject*) override { Hook(); }
  void PictureStyleChanging(TObject*) override { Hook(); }
  void PictureStyleChanged(TObject*) override { Hook(); }
  void Hook() { Log ? Log->Add("hook") : void(); }
};

class ShapeStyles : public ModelFixtureOf<TStyledShape> {
 protected:
  QTemporaryDir Dir;
};

TEST_F(ShapeStyles, EachStyleChangeAnnouncesInItsOrder) {
  struct TCase {
    const char* Name;
    TKxDeShapeStyle Uses;
    std::function<void(TStyledShape*)> Op;
    const char* Expected;
  };
  TOwned<TKxDePicture> picture(Create<TKxDePicture>(nullptr));
  picture->SetKeepRatio(false);
  const TCase cases[] = {
      // Brush and pen announce twice, the second time with their property name around the change.
      {"brush", TKxDeShapeStyle::kxssUsesBrush, [](TStyledShape* S) { S->Brush()->SetStyle(TBrushStyle::bsCross); },
       "start undo hook end start undo hook changed end"},
      {"pen", TKxDeShapeStyle::kxssUsesPen, [](TStyledShape* S) { S->Pen()->SetColor(clRed); },
       "start undo hook end start undo hook changed end"},
      {"unused brush: actions, no change", TKxDeShapeStyle::kxssUsesLabel,
       [](TStyledShape* S) { S->Brush()->SetStyle(TBrushStyle::bsCross); }, "start undo hook end start undo hook end"},
      // Fonts, gradients and pictures announce once, before the change.
      {"font", TKxDeShapeStyle::kxssUsesFont, [](TStyledShape* S) { S->Font()->SetName("DejaVu Serif"); },
       "start undo hook end hook changed"},
      {"gradient", TKxDeShapeStyle::kxssUsesGradient,
       [](TStyledShape* S) { S->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearV); },
       "start undo hook end hook changed"},
      {"picture assigned", TKxDeShapeStyle::kxssUsesPicture, [&](TStyledShape* S) { S->SetPicture(picture.get()); },
       "start undo hook end hook changed"},
      {"picture style", TKxDeShapeStyle::kxssUsesPicture,
       [](TStyledShape* S) { S->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled); },
       "start undo hook end hook changed"},
      {"picture property: one change", TKxDeShapeStyle::kxssUsesPicture,
       [](TStyledShape* S) { S->Picture()->SetKeepRatio(false); }, "changed"},
      {"the same value again", TKxDeShapeStyle::kxssUsesBrush,
       [](TStyledShape* S) { S->Brush()->SetStyle(S->Brush()->Style()); }, ""},
  };
  for (const TCase& c : cases) {
    TearDown();
    SetUp();
    Shape->Use(c.Uses);
    Log.Clear();
    c.Op(Shape);
    EXPECT_EQ(Order(Log), c.Expected) << c.Name;
  }
}

TEST_F(ShapeStyles, AssignCopiesBrushAndPenWithTheirAnnouncements) {
  TOwned<TStyledShape> other(Create<TStyledShape>(nullptr, nullptr));
  other->Brush()->SetColor(clRed);
  other->Pen()->SetWidth(1.5f);
  Shape->Assign(other.get());
  EXPECT_EQ(Shape->Brush()->Color(), clRed);
  EXPECT_FLOAT_EQ(Shape->Pen()->Width(), 1.5f);
  EXPECT_EQ(Log.Count("start kxacChangingBrush shape Brush") + Log.Count("start kxacChangingPen shape Pen"), 2u);
}

// A shape's pen and brush report to that shape alone; a handler the host assigns to one of them
// takes the shape's place until it is removed again.
TEST_F(ShapeStyles, PenAndBrushReportToTheirOwnShapeUnlessAHandlerTakesOver) {
  TStyledShape* other = Create<TStyledShape>(nullptr, Layer);
  other->Log = &Log;
  Log.Names[other] = "other";
  Shape->Use(TKxDeShapeStyle::kxssUsesBrush);
  Log.Clear();
  Shape->Pen()->SetWidth(2);
  other->Brush()->SetStyle(TBrushStyle::bsCross);
  EXPECT_FLOAT_EQ(other->Pen()->Width(), cstPenDefaultWidth);
  EXPECT_EQ(Shape->Brush()->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(Log.Count("start kxacChangingPen shape Pen"), 1u);
  EXPECT_EQ(Log.Count("start kxacChangingPen other Pen"), 0u);
  EXPECT_EQ(Log.Count("start kxacChangingBrush other Brush"), 1u);

  int heard = 0;
  Shape->Pen()->OnChange = [&heard](TObject*) { ++heard; };
  Log.Clear();
  Shape->Pen()->SetWidth(3);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(Log.Count("start kxacChangingPen shape Pen"), 0u) << "the host's handler replaced the shape's";
  EXPECT_EQ(Log.Count("start kxacChangingPen shape "), 1u) << "the other event still reaches the shape";
  Shape->Pen()->OnChange = nullptr;
  Shape->Pen()->SetWidth(4);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(Log.Count("start kxacChangingPen shape Pen"), 1u);
}

// Only a shape painted turned holds a painting transform of its own; a change of one shape's
// transform leaves every other shape at the identity.
TEST_F(ShapeStyles, APaintingTransformBelongsToItsShape) {
  TOwned<TStyledShape> other(Create<TStyledShape>(nullptr, nullptr));
  Shape->Rotate(TPointF{10, 20}, 90);
  const QTransform turned = Shape->WSpaceMtx();
  EXPECT_EQ(turned.map(QPointF(10, 20)), QPointF(10, 20));
  EXPECT_EQ(turned.map(QPointF(11, 20)).toPoint(), QPoint(10, 19));
  EXPECT_TRUE(other->WSpaceMtx().isIdentity());
  other->Translate(TPointF{5, 6});
  EXPECT_EQ(other->WSpaceMtx(), QTransform::fromTranslate(5, 6));
  EXPECT_EQ(Shape->WSpaceMtx(), turned);
  Shape->SetWSpaceMtx(TKxDeShapeBase::InitWSpaceMtx());
  EXPECT_TRUE(Shape->WSpaceMtx().isIdentity());
  Shape->Combine(QTransform::fromScale(2, 3));
  EXPECT_EQ(Shape->WSpaceMtx(), QTransform::fromScale(2, 3));
}

// Records and style objects set every field of a style at once; clamped fields stay clamped.
TEST_F(ShapeStyles, RecordsAndStyleObjectsSetWholeStyles) {
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  const TKxDeBrushRec brush{clRed, TBrushStyle::bsCross};
  const TKxDePenRec pen{clBlue, TPenMode::pmXor, TPenStyle::psDash, 2.5f};
  const TKxDeShapeFontRec font{2, clGreen, QStringLiteral("DejaVu Serif"), 17, {TFontStyle::fsItalic}};
  const TKxDeShapeGradienthRec gradient{clRed, clYellow, true, -40, 30, TKxDeShapeGradientStyle::kxdgsLinearV};
  Shape->SetBrushRec(brush);
  Shape->SetPenRec(pen);
  Shape->SetFontRec(font);
  Shape->SetGradientRec(gradient);
  EXPECT_EQ(Shape->Brush()->ToRec(), brush);
  EXPECT_EQ(Shape->Pen()->ToRec(), pen);
  EXPECT_EQ(Shape->Font()->ToRec(), font);
  EXPECT_EQ(Shape->Gradient()->ToRec(), gradient);
  TKxDeShapeGradienthRec wide = gradient;
  wide.Rotation = -120, wide.Shift = 127;
  Shape->SetGradientRec(wide);
  EXPECT_EQ(Shape->Gradient()->Rotation(), -100);
  EXPECT_EQ(Shape->Gradient()->Shift(), 100);
  // Style objects copy the same way; a shape without a gradient ignores one.
  TOwned<TStyledShape> other(Create<TStyledShape>(nullptr, nullptr));
  other->SetPen(Shape->Pen());
  other->SetGradient(Shape->Gradient());
  EXPECT_EQ(other->Pen()->ToRec(), pen);
  EXPECT_EQ(other->Gradient(), nullptr);
  other->Use(TKxDeShapeStyle::kxssUsesGradient);
  other->SetGradient(Shape->Gradient());
  TKxDeShapeGradienthRec copied = Shape->Gradient()->ToRec();
  copied.ColorBegin = other->Color();
  EXPECT_EQ(other->Gradient()->ToRec(), copied) << "the first colour stays the shape's own";
  QImage pattern;
  ASSERT_TRUE(other->Gradient()->CopyPatternTo(pattern));
  other->Gradient()->SetInvisible(true);
  EXPECT_TRUE(other->Gradient()->NeedsUpdate()) << "hiding a gradient rebuilds its pattern";
  // A text view takes a height in millimetres and sets the point size from it.
  TOwned<TmekFont> view(Create<TmekFont>(other.get()));
  view->AssignRec(TKxDeShapeFontRec2{3, QStringLiteral("DejaVu Sans"), 6.0f, {TFontStyle::fsBold}});
  EXPECT_EQ(other->Font()->Charset(), 3);
  EXPECT_EQ(other->Font()->Name(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(other->Font()->Size(), TKxDeUtils::MMToFontPoints(6.0f));
  EXPECT_EQ(other->Font()->Style(), TFontStyles{TFontStyle::fsBold});
}

TEST_F(ShapeStyles, BrushGradientAndShapeShareOneColour) {
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  Shape->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  Shape->Brush()->SetColor(clRed);
  EXPECT_EQ(Shape->Gradient()->GetColorBegin(), clRed);
  Log.Clear();
  Shape->SetColor(clBlue);
  EXPECT_TRUE(Log.Entries.empty()) << "the shape colour itself announces nothing";
  EXPECT_EQ(Shape->Brush()->Color(), clBlue);
  QImage pattern;
  ASSERT_TRUE(Shape->Gradient()->CopyPatternTo(pattern)) << "rebuilt at once";
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(0, 0, 255));
  Shape->Gradient()->SetColorBegin(clLime);
  EXPECT_EQ(Shape->Brush()->Color(), clLime);
  // The gradient lives while the style is used; a new one starts at the shape colour.
  Shape->Use(TKxDeShapeStyle::kxssUsesBrush);
  EXPECT_NE(Shape->Gradient(), nullptr);
  Shape->DoNotUse(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_EQ(Shape->Gradient(), nullptr);
  Shape->SetColor(clYellow);
  Shape->Use(TKxDeShapeStyle::kxssUsesGradient);
  EXPECT_EQ(Shape->Gradient()->GetColorBegin(), clYellow);
}

TEST_F(ShapeStyles, HasAnswersFollowStyleWidthColourAndKind) {
  using S = TStyledShape;
  using enum TKxDeShapeStyle;
  // Each step changes the shape; the answers after it must hold. The gradient begins with the
  // shape colour, clNone from the ninth step on; the placeholder is a picture.
  const struct {
    std::function<void(S*)> Change;
    bool (S::*Has)() const;
    bool Want;
  } steps[] = {
      {[](S* s) { s->Pen()->SetWidth(-1); }, &S::HasPen, true},  // clamped to 0.01
      {[](S* s) { s->Pen()->SetWidth(0); }, &S::HasPen, false},
      {[](S* s) { s->Pen()->SetWidth(1), s->Pen()->SetStyle(TPenStyle::psClear); }, &S::HasPen, false},
      {[](S* s) { s->Pen()->SetStyle(TPenStyle::psSolid), s->Pen()->SetColor(clNone); }, &S::HasPen, false},
      {[](S* s) { s->Pen()->SetColor(clRed), s->DoNotUse(kxssUsesPen); }, &S::HasPen, false},
      {[](S*) {}, &S::HasBrush, false},  // a plain shape does not use a brush
      {[](S* s) { s->Use(kxssUsesBrush); }, &S::HasBrush, true},
      {[](S* s) { s->Brush()->SetStyle(TBrushStyle::bsClear); }, &S::HasBrush, false},
      {[](S* s) { s->Brush()->SetStyle(TBrushStyle::bsSolid), s->SetColor(clNone); }, &S::HasBrush, false},
      {[](S* s) { s->Use(kxssUsesGradient), s->Gradient()->SetStyle(TKxDeShapeGradientStyle::kxdgsRadialTL); },
       &S::HasGradient, false},
      {[](S* s) { s->SetColor(clRed); }, &S::HasGradient, true},
      {[](S* s) { s->Gradient()->SetColorEnd(clNone); }, &S::HasGradient, false},
      {[](S*) {}, &S::HasEmptyPicture, false},  // only shapes that use pictures
      {[](S* s) { s->Use(kxssUsesPicture); }, &S::HasEmptyPicture, true},
      {[](S* s) { s->Picture()->LoadEmptyPicture(); }, &S::HasEmptyPicture, false},
      {[](S*) {}, &S::HasPicture, true},
  };
  int step = 0;
  for (const auto& t : steps) {
    t.Change(Shape);
    EXPECT_EQ((Shape->*t.Has)(), t.Want) << "step " << step++;
  }
}

TEST(ShapeDevicePens, WidthsCapsDashesAndClearPens) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(0.5f);
  pen->SetColor(clRed);
  pen->SetStyle(TPenStyle::psDashDot);
  const QPen outline = TKxDeShapeBase::CreateExtendedPen2(pen.get(), 2);
  EXPECT_EQ(outline.capStyle(), Qt::SquareCap);
  EXPECT_EQ(outline.style(), Qt::SolidLine) << "outline pens carry no dashes";
  using enum TmekLineShape;
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, mekLshRounded, mekLshSquared).capStyle(), Qt::RoundCap);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, mekLshArrowed, mekLshRounded).capStyle(), Qt::SquareCap);
  // Qt counts dashes in pen widths (4 device pixels here); a thin pen counts them in pixels.
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 2, {}, {}).dashPattern(),
            (QList<qreal>{23 / 4.0, 15 / 4.0, 8 / 4.0, 23 / 4.0}));
  pen->SetWidth(0.1f);
  pen->SetStyle(TPenStyle::psDash);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen(pen.get(), 1, {}, {}).dashPattern(), (QList<qreal>{11, 11}));
  pen->SetWidth(0.01f);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen2(pen.get(), 1).width(), 0) << "below half a pixel: the thin pen";
  pen->SetColor(clNone);
  EXPECT_EQ(TKxDeShapeBase::CreateExtendedPen2(pen.get(), 1).style(), Qt::NoPen);
  TPen canvasPen;
  pen->AssignTo(&canvasPen);
  EXPECT_EQ(canvasPen.Style(), TPenStyle::psClear) << "a pen without colour draws nothing on a canvas either";
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
  EXPECT_EQ(zoomed(TPenStyle::psDot, 2), (std::vector<uint32_t>{8, 15}));
  EXPECT_EQ(zoomed(TPenStyle::psDashDotDot, 0.5),
            (std::vector<uint32_t>{px(3, .5), px(2, .5), px(1, .5), px(2, .5), px(1, .5), px(3, .5)}));
  EXPECT_EQ(zoomed(TPenStyle::psClear, 3), (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(zoomed(TPenStyle::psInsideFrame, 3), (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(zoomed(TPenStyle::psAlternate, 3), (std::vector<uint32_t>{0, 0}));
  EXPECT_EQ(zoomed(TPenStyle::psUserStyle, 0.5), zoomed(TPenStyle::psDashDotDot, 0.5)) << "dashes as dash-dot-dot";
  EXPECT_EQ(zoomed(static_cast<TPenStyle>(42), 1), (std::vector<uint32_t>{99})) << "unknown style: untouched";
  // On a canvas: dashes of 11, gaps of 11, two pixels wide at zoom 1.
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(0.5f);
  pen->SetStyle(TPenStyle::psDash);
  const QImage img = Drawn(
      [&](TCanvas& c) {
        TKxDeShapeBase::CreateExtendedPen(&c, pen.get(), 1, TmekLineShape::mekLshSquared, TmekLineShape::mekLshSquared);
        c.MoveTo(0, 10);
        c.LineTo(80, 10);
      },
      80, 20);
  EXPECT_EQ(img.pixel(5, 10), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(16, 10), qRgb(255, 255, 255)) << "inside the first gap";
  EXPECT_EQ(img.pixel(27, 10), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(5, 14), qRgb(255, 255, 255));
}

TEST_F(ShapeStyles, DrawPointFramesAndFillsAHandleWithItsOwnPen) {
  QImage img(20, 20, QImage::Format_RGB32);
  for (auto [frame, fill, atFrame, inside] : {std::tuple{clRed, clBlue, Qt::red, Qt::blue},
                                              {clNone, clBlue, Qt::blue, Qt::blue},
                                              {clRed, clNone, Qt::red, Qt::white}}) {
    img.fill(Qt::white);
    TCanvas canvas(&img);
    canvas.Pen()->SetWidth(5);
    canvas.Pen()->SetMode(TPenMode::pmNot);
    Shape->DrawPoint(&canvas, TRect{5, 5, 15, 15}, frame, fill);
    EXPECT_EQ(img.pixelColor(14, 14), QColor(atFrame));
    EXPECT_EQ(img.pixelColor(10, 10), QColor(inside));
    EXPECT_EQ(img.pixelColor(15, 10), QColor(Qt::white)) << "right and bottom edges are outside";
  }
}

class ShapePictures : public ShapeStyles {
 protected:
  void SetUp() override {
    ShapeStyles::SetUp();
    Shape->Use(TKxDeShapeStyle::kxssUsesPicture);
    Shape->Picture()->LoadFromFile(WriteImage(Dir, QStringLiteral("halves.png"), 20, 10, Qt::red, Qt::blue));
  }
  // Draws into a white 60 x 40 image; at this zoom a picture pixel is a device pixel.
  QImage Draw(const TRect& R, PmekDeviceCapsInfo Caps = nullptr, bool Disabled = false, int32_t Angle = 0,
              bool IgnoreRatio = false, QRgb Background = White) {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Background);
    TCanvas c(&img);
    c.SetTransform(Turn);
    Shape->DrawPicture(&c, R, CoordsPixelsPerMMConvertValue, Caps, Disabled, Angle, IgnoreRatio);
    return img;
  }
  QTransform Turn;  // the painting transform of the canvas
  static constexpr QRgb Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255), White = qRgb(255, 255, 255);
  struct TProbe {
    int X, Y;
    QRgb Colour;
  };
  static void Expect(const QImage& Img, std::initializer_list<TProbe> Probes, const char* What) {
    for (const TProbe& p : Probes) EXPECT_EQ(Img.pixel(p.X, p.Y), p.Colour) << What << " at " << p.X << "," << p.Y;
  }
};

TEST_F(ShapePictures, EachStylePlacesThePicture) {
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspCenter);  // the 20 x 10 picture lands at (20, 15)
  Expect(Draw(TRect{0, 0, 60, 40}), {{20, 15, Red}, {39, 24, Blue}, {19, 20, White}, {30, 25, White}}, "centre");
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspDefault);
  Expect(Draw(TRect{3, 4, 60, 40}), {{3, 4, Red}, {22, 13, Blue}, {23, 8, White}, {5, 14, White}}, "natural size");
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspTiled);
  Expect(Draw(TRect{5, 5, 45, 35}), {{5, 5, Red}, {27, 17, Red}, {44, 34, Blue}, {4, 20, White}}, "tiled");
  // Stretched with its ratio: 60 x 40 becomes 60 x 30 at y 5, 60 x 20 becomes 40 x 20 at x 10.
  Shape->SetPictureStyle(TKxDeShapePictureStyle::kxdspStretch);
  Expect(Draw(TRect{0, 0, 60, 40}), {{30, 4, White}, {10, 5, Red}, {50, 34, Blue}, {30, 35, White}}, "stretch");
  Expect(Draw(TRect{0, 10, 60, 30}), {{9, 20, White}, {10, 20, Red}, {49, 20, Blue}, {50, 20, White}}, "stretch");
  Expect(Draw(TRect{0, 0, 60, 40}, nullptr, false, 0, true), {{0, 0, Red}, {59, 39, Blue}}, "ratio ignored");
  Shape->Picture()->SetKeepRatio(false);
  Expect(Draw(TRect{0, 0, 60, 40}), {{0, 0, Red}, {59, 39, Blue}}, "ratio not kept");
  Expect(Draw(TRect{10, 10, 10, 30}), {{10, 20, White}}, "an empty rectangle");
  Shape->Picture()->SetKeepRatio(true);
  TmekDeviceCapsInfo caps;
  caps.CorrectionFactorY = 2;
  Expect(Draw(TRect{0, 0, 60, 40}, &caps), {{10, 6, Red}, {50, 19, Blue}, {10, 21, White}}, "half as high");
  // For a printer at a quarter turn the rectangle is fitted to the inverse ratio; the picture in it
  // is not turned (the painting transform does that).
  caps.Init();
  caps.IsGDIPrinting = true;
  const QImage printed = Draw(TRect{0, 0, 60, 40}, &caps, false, 90);
  EXPECT_EQ(InkBounds(printed), QRect(20, 0, 20, 40));
  Expect(printed, {{21, 35, Red}, {38, 5, Blue}}, "printed");
  const QRgb grey = Draw(TRect{0, 0, 60, 40}, nullptr, true).pixel(10, 20);
  EXPECT_TRUE(grey != Red && qRed(grey) == qGreen(grey) && qGreen(grey) == qBlue(grey)) << "disabled";
  Shape->Picture()->SetKeepRatio(false);
  Shape->SetNoAntialiasing(true);  // whole picture pixels, copied opaque
  Expect(Draw(TRect{0, 0, 30, 40}), {{14, 20, Red}, {15, 20, Blue}}, "copied");
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
    const QImage img = Draw(TRect{0, 0, 60, 40}, &caps, false, t.Angle);
    EXPECT_EQ(InkBounds(img), t.Ink) << t.Angle;
    EXPECT_EQ(img.pixel(t.RedAt.x(), t.RedAt.y()), Red) << t.Angle;
    EXPECT_EQ(img.pixel(t.BlueAt.x(), t.BlueAt.y()), Blue) << t.Angle;
  }
}

TEST(ShapeDevicePens, TheOutlinePenDrawsInsideTheFrame) {
  TOwned<TKxDeShapePen> pen(Create<TKxDeShapePen>());
  pen->SetWidth(2);  // 8 device pixels at zoom 1; the outline pen has no dashes
  pen->SetStyle(TPenStyle::psDash);
  const QImage img = Drawn(
      [&](TCanvas& c) {
        TKxDeShapeBase::CreateExtendedPen2(&c, pen.get(), 1);
        c.Brush()->SetStyle(TBrushStyle::bsClear);
        c.Rectangle(10, 10, 50, 40);
      },
      60, 50);
  std::string row;  // across the middle
  for (int x = 0; x < 60; ++x) row += img.pixel(x, 25) == qRgb(255, 255, 255) ? '.' : '#';
  EXPECT_EQ(row, std::string(10, '.') + std::string(8, '#') + std::string(24, '.') + std::string(8, '#') +
                     std::string(10, '.'));
}

TEST_F(ShapeStyles, FilledShapesAreHitInsideUnfilledOnesNearTheirUnturnedFrame) {
  AddPoints({{0, 0}, {100, 0}, {100, 20}, {0, 20}});
  struct TCase {
    TBrushStyle Brush;
    float Rotation;
    TPointF At;
    float Fuzz;
    bool Hit;
  };
  const TCase cases[] = {
      {TBrushStyle::bsSolid, 0, {0, 0}, 0, true},        {TBrushStyle::bsSolid, 0, {100, 10}, 0, false},
      {TBrushStyle::bsSolid, 0, {1, 10}, -3, true},     {TBrushStyle::bsSolid, 90, {61.5f, 0}, 2, true},
      {TBrushStyle::bsSolid, 0, {50, 10}, 2, true},      {TBrushStyle::bsSolid, 0, {-1.5f, 10}, 2, true},
      {TBrushStyle::bsSolid, 0, {-2.5f, 10}, 2, false},  {TBrushStyle::bsSolid, 90, {50, -30}, 0, true},
      {TBrushStyle::bsClear, 0, {50, 10}, 2, false},     {TBrushStyle::bsClear, 0, {1, 10}, 2, true},
      {TBrushStyle::bsClear, 0, {50, 21.5f}, 2, true},   {TBrushStyle::bsClear, 0, {50, 22.5f}, 2, false},
      {TBrushStyle::bsClear, 0, {0, 10}, 0, false},      {TBrushStyle::bsClear, 0, {1, 10}, -2, false},
      {TBrushStyle::bsClear, 90, {1, 10}, 2, true},      {TBrushStyle::bsClear, 90, {50, -30}, 2, false},
  };
  for (const TCase& c : cases) {
    Shape->Brush()->SetStyle(c.Brush);
    Shape->SetRotation(c.Rotation);
    EXPECT_EQ(Shape->PointOnShape(c.At, c.Fuzz, false), c.Hit)
        << int(c.Brush) << " turned " << c.Rotation << " at " << c.At.X << "," << c.At.Y << " fuzz " << c.Fuzz;
  }
  // A colour of clNone is unfilled too, for the whole hit test.
  Shape->SetRotation(0);
  Shape->Brush()->SetStyle(TBrushStyle::bsSolid);
  Shape->Brush()->SetColor(clNone);
  EXPECT_EQ(Shape->HitTest(TPointF{50, 10}, 2, 4, false, false, {}).Part, TKxDeShapePart::kxspNone);
  EXPECT_EQ(Shape->HitTest(TPointF{99, 10}, 2, 4, false, false, {}).Part, TKxDeShapePart::kxspShape);
  // Flat bounds: never hit unfilled, hit in the inflated bounds when filled.
  Shape->Clear();
  Shape->Add(0, 5);
  Shape->Add(100, 5);
  EXPECT_FALSE(Shape->PointOnShape(TPointF{50, 5}, 3, false));
  Shape->Brush()->SetColor(clRed);
  EXPECT_TRUE(Shape->PointOnShape(TPointF{50, 5}, 3, false));
}

// ---- Style objects on their own ---------------------------------------------------------------------

// Counts the announcements of a style object.
struct TAnnouncements {
  int Changing = 0, Changed = 0;
  template <class S>
  void Watch(S* Style) {
    Style->OnChanging = [this](TObject*) { ++Changing; };
    Style->OnChange = [this](TObject*) { ++Changed; };
  }
};

TEST(StyleObjects, GradientsRebuildAfterTheirBracketAndPaint) {
  TOwned<TKxDeShapeGradient> g(Create<TKxDeShapeGradient>());
  g->SetShift(250), g->SetRotation(-300);
  EXPECT_TRUE(g->Shift() == 100 && g->Rotation() == -100) << "clamped";
  g->SetShift(0), g->SetRotation(0);
  g->SetColorBegin(clRed);
  g->SetColorEnd(clBlue);
  g->SetStyle(TKxDeShapeGradientStyle::kxdgsLinearH);
  g->BeginUpdate();
  QImage pattern;
  EXPECT_FALSE(g->CopyPatternTo(pattern)) << "not inside a bracket";
  g->EndUpdate();
  EXPECT_FALSE(g->NeedsUpdate());
  ASSERT_TRUE(g->CopyPatternTo(pattern));
  EXPECT_EQ(pattern.pixel(0, 0), qRgb(255, 0, 0));
  QImage img(100, 10, QImage::Format_RGB32);
  for (auto style : {TKxDeShapeGradientStyle::kxdgsLinearH, TKxDeShapeGradientStyle::kxdgsNone}) {
    g->SetStyle(style);
    img.fill(Qt::white);
    TCanvas c(&img);
    g->Paint(&c, {0, 0, 100, 10});
  }
  EXPECT_EQ(img.pixel(50, 5), qRgb(255, 255, 255)) << "style none paints nothing";
}

TEST(StyleObjects, FontSizeIsSilentAndAnUninstalledFamilyIsSubstitutedOnce) {
  TOwned<TKxDeShapeFont> font(Create<TKxDeShapeFont>());
  TAnnouncements a;
  a.Watch(font.get());
  font->SetSize(12);
  EXPECT_EQ(a.Changing + a.Changed, 0);
  font->AssignRec(TKxDeShapeFontRec{2, clRed, QStringLiteral("DejaVu Sans"), 12, {}});
  EXPECT_EQ(a.Changing + a.Changed, 2) << "a whole record is one announced change";
  TMessageSinkGuard messages;
  TXmlDocument doc;
  TXmlNode e = doc.append_child("Font");
  XmlWriteString(e, "Name", QStringLiteral("Swiss 721 Not Installed"));
  XmlWriteInteger(e, "Style", 1 | 8);
  font->LoadFromXML(e);
  const QString installed = CheckForFont(QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Name(), installed);
  EXPECT_EQ(font->Substituted(), QStringLiteral("Swiss 721 Not Installed"));
  EXPECT_EQ(font->Size(), 12) << "absent: kept";
  EXPECT_EQ(font->Style(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut}));
  EXPECT_EQ(
      messages.Messages,
      QStringList{QStringLiteral("Font \"Swiss 721 Not Installed\" was substituted with font \"%1\"").arg(installed)});
  // The substitute is written with the requested name beside it; reading that keeps the substitute.
  TXmlDocument out;
  font->SaveToXML(out.append_child("Font"));
  EXPECT_EQ(XmlReadString(out.child("Font"), "Subst"), QStringLiteral("Swiss 721 Not Installed"));
  TOwned<TKxDeShapeFont> again(Create<TKxDeShapeFont>());
  again->LoadFromXML(out.child("Font"));
  EXPECT_EQ(again->Name(), installed);
  EXPECT_TRUE(again->Substituted().isEmpty());
  EXPECT_EQ(messages.Messages.size(), 1);
}

}  // namespace
}  // namespace vorn::test

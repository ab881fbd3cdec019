// The editor's rulers, guides, cross-hair and orientation icon, as a user sees and drives them:
// graduations read off the grabbed strips, guides pulled out of the rulers, moved and dragged off
// the page, the icon clicked, and guide lists read from damaged XML.

#include "EditorFixture.h"

#include <cmath>
#include <limits>

namespace vorn::test {
namespace {

// A 460 x 360 window: the 360 x 240 page fits beside the 25-pixel rulers without scroll bars.
class EditorRulers : public TEditorWindow<> {
 protected:
  void SetUp() override {
    TEditorWindow::SetUp();
    E.resize(460, 360);
    E.Rulers()->SetVisible(true);
    E.show();
  }
  // The strips' thickness with their separating line.
  int Room() const { return E.Rulers()->Size() + 1; }
  // The page's left (top) edge on screen, where the rulers count from.
  int Zero(bool Horizontal) const {
    const TPointF p = E.LayerToScreen(TPointF{0, 0});
    return qRound(Horizontal ? p.X : p.Y);
  }

  struct TTick {
    int At;
    int Length;
  };
  // The ticks in MarkRgb along the inner edge of a strip (the horizontal strip's last row, the
  // vertical one's last column), with their lengths.
  std::vector<TTick> Ticks(const QImage& I, bool Horizontal, QRgb MarkRgb) const {
    const int edge = Room() - 2;
    const int end = Horizontal ? E.GetClientRect().Right : E.GetClientRect().Bottom;
    auto mark = [&](int Along, int Across) {
      return Pixel(I, Horizontal ? QPoint(Along, Across) : QPoint(Across, Along)).rgb() == MarkRgb;
    };
    std::vector<TTick> out;
    for (int a = Room(); a < end; ++a) {
      if (!mark(a, edge)) continue;
      int len = 0;
      while (len <= edge && mark(a, edge - len)) ++len;
      out.push_back({a, len});
    }
    return out;
  }
  // The left edges of the numbers (blue ink) in the horizontal strip, neighbouring glyphs merged.
  std::vector<int> Numbers(const QImage& I) const {
    std::vector<int> starts;
    int last = -100;
    for (int x = Room(); x < E.GetClientRect().Right; ++x) {
      bool ink = false;
      for (int y = 0; y < Room() - 1 && !ink; ++y) {
        const QColor c = Pixel(I, QPoint(x, y));
        ink = c.blue() > c.red() + 40;
      }
      if (!ink) continue;
      if (x - last > 3) starts.push_back(x);
      last = x;
    }
    return starts;
  }
  // Ticks in red, numbers in blue on white, no pointer marks.
  void PlainColours() {
    E.Rulers()->SetColor(clWhite);
    E.Rulers()->SetMarkColor(0x0000FF);
    E.Rulers()->Font()->SetColor(0xFF0000);
    E.Rulers()->SetGuideColor(clNone);
  }
};

TEST_F(EditorRulers, TicksAndNumbersFollowTheUnitAndTheZoom) {
  PlainColours();
  // U: pixels per base unit (0.1 mm, 0.01 inch) on a 96-dpi screen; K: base units per tick.
  struct TCase {
    TKxDeRulerMode Mode;
    int Zoom;
    double U;
    int K;
  };
  const TCase cases[] = {
      {TKxDeRulerMode::kxrmCm, 100, 0.378, 50},   {TKxDeRulerMode::kxrmCm, 500, 1.890, 5},
      {TKxDeRulerMode::kxrmCm, 1200, 4.535, 1},   {TKxDeRulerMode::kxrmInch, 100, 0.960, 50},
      {TKxDeRulerMode::kxrmInch, 200, 1.920, 5},  {TKxDeRulerMode::kxrmInch, 500, 4.800, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << EnumToText(c.Mode).toStdString() << " at zoom " << c.Zoom);
    E.Rulers()->SetMode(c.Mode);
    E.SetZoom(c.Zoom);
    const double u = E.Rulers()->Horizontal()->GetStep(c.Zoom / 100.0);
    EXPECT_NEAR(u, c.U, 0.001);
    const QImage image = Grab("rulers-graduation");
    const bool fine = c.K == 1;
    const double step = c.K * u;
    for (const bool horizontal : {true, false}) {
      SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
      const int zero = Zero(horizontal);
      const std::vector<TTick> ticks = Ticks(image, horizontal, qRgb(255, 0, 0));
      ASSERT_GT(ticks.size(), 5u);
      // Every tick lies on a multiple of the division, none is left out, and each has the length
      // its index calls for: the zero, every tenth, every second on a coarse ruler, the others.
      long previous = 0;
      for (size_t n = 0; n < ticks.size(); ++n) {
        const long i = std::lround((ticks[n].At - zero) / step);
        EXPECT_NEAR(ticks[n].At, zero + i * step, 0.51) << "tick " << n;
        if (n > 0) {
          EXPECT_EQ(i, previous + 1) << "tick " << n;
        }
        previous = i;
        const int expected = i == 0 ? 16 : i % 10 == 0 ? 10 : !fine && i % 2 == 0 ? 6 : 4;
        EXPECT_EQ(ticks[n].Length, expected) << "tick " << n << " (" << i << ")";
      }
      EXPECT_LT(ticks.front().At - Room(), step + 1);
      EXPECT_LT((horizontal ? E.GetClientRect().Right : E.GetClientRect().Bottom) - 1 - ticks.back().At, step + 1);
    }
    // A number at each centimetre (inch) in view, two pixels right of its tick ("0" too).
    const int zero = Zero(true);
    std::vector<int> expected;
    for (long i = -20; i <= 100; ++i) {
      const int x = zero + static_cast<int>(std::lround(100 * i * u)) + 2;
      if (x > Room() && x < E.GetClientRect().Right - 6) expected.push_back(x);
    }
    const std::vector<int> numbers = Numbers(image);
    ASSERT_GE(numbers.size(), expected.size());
    for (size_t n = 0; n < expected.size(); ++n) {
      EXPECT_GE(numbers[n], expected[n]) << "number " << n;
      EXPECT_LE(numbers[n], expected[n] + 1) << "number " << n;
    }
  }
}

TEST_F(EditorRulers, PixelModeShowsOnlyTheZeroAndCentredRulersCountBothWays) {
  PlainColours();
  E.Rulers()->SetMode(TKxDeRulerMode::kxrmPixel);
  QImage image = Grab("rulers-pixel");
  for (const bool horizontal : {true, false}) {
    const std::vector<TTick> ticks = Ticks(image, horizontal, qRgb(255, 0, 0));
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_EQ(ticks[0].At, Zero(horizontal));
    EXPECT_EQ(ticks[0].Length, 16);
  }
  EXPECT_EQ(Numbers(image), (std::vector<int>{Zero(true) + 2}));

  // Counting from the page's centre: numbers on both sides of the zero, which sits mid-page.
  E.Rulers()->SetMode(TKxDeRulerMode::kxrmCm);
  E.Rulers()->SetRulersOrigin(TKxDeRulersOrigin::kxrulOrigCenter);
  image = Grab("rulers-centred");
  const int zero = Zero(true) + 180;
  const std::vector<TTick> ticks = Ticks(image, true, qRgb(255, 0, 0));
  ASSERT_FALSE(ticks.empty());
  EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [&](const TTick& T) { return T.At == zero && T.Length == 16; }));
  const std::vector<int> numbers = Numbers(image);
  EXPECT_TRUE(std::count_if(numbers.begin(), numbers.end(), [&](int X) { return X < zero - 30; }) >= 4);
  EXPECT_TRUE(std::count_if(numbers.begin(), numbers.end(), [&](int X) { return X > zero + 30; }) >= 4);
}

TEST_F(EditorRulers, GuidesArePulledOutOfTheRulersMovedAndDraggedOffThePage) {
  TKxDeShapeBase* box = Box("A", 60, 50, 100, 100);
  int announced = 0;
  E.OnGuideChange = [&](TObject*) { ++announced; };
  TKxDeGuides* guides = E.Guides();
  for (const int zoom : {100, 200}) {
    SCOPED_TRACE(testing::Message() << "zoom " << zoom);
    guides->Clear();
    E.SetZoom(zoom);
    announced = 0;
    // Out of the horizontal ruler: a horizontal guide where the pointer lets go.
    Hold(QPoint(300, 10), At(100, 80));
    EXPECT_EQ(E.EditState(), kxesNewGuide);
    QTest::mouseRelease(&E, Qt::LeftButton, {}, At(100, 80));
    // Out of the vertical ruler: a vertical one. Let go over the rulers: none.
    Drag(QPoint(10, 300), At(150, 100));
    Drag(QPoint(10, 300), QPoint(15, 200));
    Drag(QPoint(300, 10), QPoint(300, 20));
    ASSERT_EQ(guides->GetCount(), 2);
    EXPECT_EQ(guides->GetItem(0)->GuideType(), TKxDeGuideType::kxgtHorizontal);
    EXPECT_NEAR(guides->GetItem(0)->Position(), 80, 0.01);
    EXPECT_EQ(guides->GetItem(1)->GuideType(), TKxDeGuideType::kxgtVertical);
    EXPECT_NEAR(guides->GetItem(1)->Position(), 150, 0.01);
    EXPECT_EQ(E.EditState(), kxesNone);

    // A guide lies over the shapes: pressing on it moves the guide, not the shape under it.
    Drag(At(100, 80), At(100, 130));
    EXPECT_NEAR(guides->GetItem(0)->Position(), 130, 0.01);
    EXPECT_EQ(box->GetBounds(), (TRectF{60, 50, 160, 150}));
    EXPECT_EQ(Selected(), "");
    // Dragged onto the vertical ruler, off the page: gone.
    Drag(At(150, 100), QPoint(10, At(150, 100).y()));
    ASSERT_EQ(guides->GetCount(), 1);
    EXPECT_EQ(guides->GetItem(0)->GuideType(), TKxDeGuideType::kxgtHorizontal);
    // Two guides made, one moved, one deleted: one announcement each.
    EXPECT_EQ(announced, 4);
  }

  // Without kxdoShowGuides guides are neither made nor hit: the press reaches the shape.
  E.SetEditOptions(E.EditOptions() - TKxDeEditOption::kxdoShowGuides);
  Drag(QPoint(300, 10), At(100, 60));
  EXPECT_EQ(guides->GetCount(), 1);
  Click(100, 130);
  EXPECT_EQ(Selected(), "A");
}

TEST_F(EditorRulers, ShowsRulersGuidesAndTheCrossHairWhereTheyBelong) {
  Box("A", 40, 30, 120, 80);
  Box("B", 200, 120, 110, 90);
  E.Guides()->Add()->SetPosition(60);
  TKxDeGuide* v = E.Guides()->Add();
  v->SetGuideType(TKxDeGuideType::kxgtVertical);
  v->SetPosition(250);
  E.CursorGuide()->SetColor(0x00A000);
  E.SetEditOptions(E.EditOptions() + TKxDeEditOption::kxdoShowCursorGuide);
  const QPoint pointer = At(120, 170);
  QTest::mouseMove(&E, pointer);
  const QImage image = Grab("editor-rulers");

  const QColor blue(0, 0, 255);
  const QColor green(0, 0xA0, 0);
  const QColor mark = ToQColor(E.Rulers()->MarkColor());
  const QColor strip = ToQColor(E.Rulers()->Color());
  // The guides cross the page, over the shapes, and stop at its edges.
  for (const float x : {5.0f, 100.0f, 355.0f}) EXPECT_EQ(Pixel(image, At(x, 60)), blue) << x;
  for (const float y : {5.0f, 70.0f, 235.0f}) EXPECT_EQ(Pixel(image, At(250, y)), blue) << y;
  EXPECT_NE(Pixel(image, QPoint(At(250, 60).x(), Zero(false) - 3)), blue);
  // The cross-hair runs through the pointer across the drawing area, not over the rulers.
  EXPECT_EQ(Pixel(image, QPoint(pointer.x(), Room() + 2)), green);
  EXPECT_EQ(Pixel(image, QPoint(E.width() - 3, pointer.y())), green);
  EXPECT_NE(Pixel(image, QPoint(pointer.x(), Room() - 3)), green);
  // The rulers: zero ticks at the page's corner, a long tick every 5 cm, the pointer marks.
  EXPECT_EQ(Pixel(image, QPoint(Zero(true), Room() - 14)), mark);
  EXPECT_EQ(Pixel(image, QPoint(Zero(true) + 189, Room() - 8)), mark);
  EXPECT_EQ(Pixel(image, QPoint(Zero(true) + 10, Room() - 2)), strip);
  EXPECT_EQ(Pixel(image, QPoint(Room() - 14, Zero(false))), mark);
  EXPECT_EQ(Pixel(image, QPoint(pointer.x(), 3)), blue);
  EXPECT_EQ(Pixel(image, QPoint(3, pointer.y())), blue);
  // A line parts each strip from the drawing; the corner holds the icon.
  EXPECT_EQ(Pixel(image, QPoint(200, Room() - 1)), ToQColor(clWindowFrame));
  int icon = 0;
  for (int y = 2; y < Room() - 3; ++y)
    for (int x = 2; x < Room() - 3; ++x) icon += Pixel(image, QPoint(x, y)) != strip;
  EXPECT_GT(icon, 40);

  // Fitting the page to the window keeps it clear of the rulers.
  E.ZoomToFit(E.LayerRect());
  const TPointF from = E.LayerToScreen(TPointF{0, 0});
  const TPointF to = E.LayerToScreen(TPointF{360, 240});
  EXPECT_GE(from.X, Room());
  EXPECT_GE(from.Y, Room());
  EXPECT_LE(to.X, E.GetClientRect().Right);
  EXPECT_LE(to.Y, E.GetClientRect().Bottom);
}

TEST_F(EditorRulers, TheCornerIconTurnsTheOrientationOverOnAClickInPlace) {
  int clicks = 0;
  E.OnOrientIconClick = [&](TObject*) { ++clicks; };
  const QImage portrait = Grab("orient-portrait");
  QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(12, 12));
  EXPECT_EQ(E.EditorOrientation(), TKxDeEditorOrient::kxedtDesOrientLandscape);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(E.EditState(), kxesNone);
  const QImage landscape = Grab("orient-landscape");
  EXPECT_NE(portrait.copy(0, 0, Room(), Room()), landscape.copy(0, 0, Room(), Room()));
  // Let go elsewhere: nothing.
  QTest::mousePress(&E, Qt::LeftButton, {}, QPoint(12, 12));
  QTest::mouseRelease(&E, Qt::LeftButton, {}, QPoint(14, 30));
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(12, 12));
  EXPECT_EQ(E.EditorOrientation(), TKxDeEditorOrient::kxedtDesOrientPortrait);
  EXPECT_EQ(clicks, 2);
  TmekHintInfo hint;
  E.GetMekOfficeHint(E.ViewPoint(12, 12), hint);
  EXPECT_EQ(hint.Title, QStringLiteral("Document orientation"));
}

TEST(GuideXml, ReadsWhatIsUsableAndSkipsTheRest) {
  TOwned<TKxDeGuides> guides(Create<TKxDeGuides>());
  int changes = 0;
  guides->OnChange = [&](TObject*) { ++changes; };
  const char* text =
      "<Guides>"
      "<o Class=\"TKxDeGuide\"><GuidPosition>12.25</GuidPosition><GuideType>1</GuideType></o>"
      "<o Class=\"TKxDeGuide\"><GuidPosition>nan</GuidPosition><GuideType>1</GuideType></o>"
      "<o><GuidPosition>1e300</GuidPosition></o>"
      "<o><GuidPosition>-inf</GuidPosition></o>"
      "<o><GuidPosition>abc</GuidPosition></o>"
      "<o Class=\"TMyGuide\"><GuidPosition>-40</GuidPosition></o>"
      "<o><GuideType>1</GuideType></o>"
      "<o><GuidPosition>7</GuidPosition><GuideType>9</GuideType></o>"
      "<x><GuidPosition>5</GuidPosition></x>"
      "</Guides>";
  TXmlDocument doc;
  ASSERT_TRUE(doc.load_string(text));
  TKxDeXmlReadReport report;
  guides->Add()->SetPosition(99);
  changes = 0;
  guides->LoadFromXML(doc.child("Guides"), &report);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(report.ObjectsSkipped, 4);
  // Missing values are 0 and horizontal; an unknown type is horizontal.
  const std::vector<TKxDeDocumentGuide> expected{{12.25, TKxDeGuideType::kxgtVertical},
                                                 {-40, TKxDeGuideType::kxgtHorizontal},
                                                 {0, TKxDeGuideType::kxgtVertical},
                                                 {7, TKxDeGuideType::kxgtHorizontal}};
  EXPECT_EQ(guides->SaveToDocument(), expected);

  // What SaveToXML writes reads back the same, to the last bit of each position.
  guides->GetItem(1)->SetPosition(1.0 / 3.0);
  TXmlDocument out;
  guides->SaveToXML(out.append_child("Guides"));
  EXPECT_STREQ(out.child("Guides").child("o").attribute("Class").value(), "TKxDeGuide");
  TOwned<TKxDeGuides> again(Create<TKxDeGuides>());
  again->LoadFromXML(out.child("Guides"));
  EXPECT_EQ(again->SaveToDocument(), guides->SaveToDocument());
}

}  // namespace
}  // namespace vorn::test

// The text shape: layout in its box (size, wrapping, alignment), hit testing of its lines,
// painting where the layout says, and its own XML.
#include "ShapeTestSupport.h"

using namespace vorn;
using namespace vorn::test;

namespace {

// A text box of 200 x 100 world units at (10, 10) with 5 mm characters.
TOwned<TVornText> TextBox(const QString& Text) {
  auto t = MakeShape<TVornText>();
  t->SetBounds(10, 10, 200, 100);
  t->TextFont()->SetHeight(5.0f);
  t->SetText(Text);
  return t;
}

}  // namespace

TEST(VornText, LinesFollowTheFontTheBoxTheParagraphsAndTheAlignment) {
  auto t = TextBox(QStringLiteral("Hello"));
  const double em = t->EmSize();
  EXPECT_NEAR(em, MM(5), 1e-3);
  const QRectF small = t->LineRects().at(0);
  // One line, starting at the box's top-left, about one em high; twice the height, twice the line.
  EXPECT_NEAR(small.left(), 10, 1.5);
  EXPECT_NEAR(small.top(), 10, 0.5);
  EXPECT_GT(small.height(), em * 0.9);
  EXPECT_LT(small.height(), em * 1.6);
  t->TextFont()->SetHeight(10.0f);
  ASSERT_EQ(t->LineRects().size(), 1u);
  EXPECT_NEAR(t->LineRects()[0].height(), 2 * small.height(), 0.5);
  EXPECT_NEAR(t->LineRects()[0].width(), 2 * small.width(), 1.0);
  t->TextFont()->SetHeight(5.0f);
  const std::pair<std::function<void()>, std::function<void(const QRectF&)>> aligned[] = {
      {[&] { t->SetAlignment(TVornTextAlign::vtaRight); }, [](const QRectF& R) { EXPECT_NEAR(R.right(), 210, 1.5); }},
      {[&] { t->SetAlignment(TVornTextAlign::vtaCenter); },
       [&](const QRectF& R) {
         EXPECT_NEAR(R.center().x(), 110, 1.5);
         EXPECT_NEAR(R.width(), small.width(), 0.5);
       }},
      {[&] { t->SetVerticalAlignment(TVornTextLayout::vtlBottom); },
       [](const QRectF& R) { EXPECT_NEAR(R.bottom(), 110, 0.5); }},
      {[&] { t->SetVerticalAlignment(TVornTextLayout::vtlCenter); },
       [](const QRectF& R) { EXPECT_NEAR(R.center().y(), 60, 0.5); }},
  };
  for (const auto& [set, check] : aligned) {
    set();
    check(t->LineRects().at(0));
  }
  t = TextBox(QStringLiteral("The quick brown fox jumps over the lazy dog again and again"));
  const size_t wide = t->LineRects().size();
  t->SetBounds(10, 10, 80, 100);
  const std::vector<QRectF> narrow = t->LineRects();
  EXPECT_GT(narrow.size(), wide);
  for (const QRectF& r : narrow) EXPECT_LE(r.right(), 90 + 0.5);
  t->SetWordWrap(false);
  ASSERT_EQ(t->LineRects().size(), 1u);
  EXPECT_GT(t->LineRects()[0].right(), 90);  // runs past the box
  t->SetText(QStringLiteral("one\ntwo\r\nthree"));
  EXPECT_EQ(t->LineRects().size(), 3u);
}

TEST(VornText, IsHitOnItsLinesNotInTheEmptyBox) {
  auto t = TextBox(QStringLiteral("Label"));
  const QRectF line = t->LineRects()[0];
  EXPECT_TRUE(t->PointOnShape(FromQt(line.center()), 0, false));
  EXPECT_FALSE(t->PointOnShape({150, 90}, 2, false));
  EXPECT_TRUE(t->PointOnShape(FromQt(line.bottomRight() + QPointF(1, 1)), 1.5f, false));
  // Turned half a turn about the box's centre (110, 60), the line lies at the bottom right.
  t->SetRotation(180);
  const QPointF turned(220 - line.center().x(), 120 - line.center().y());
  EXPECT_TRUE(t->PointOnShape(FromQt(turned), 0, false));
  EXPECT_FALSE(t->PointOnShape(FromQt(line.center()), 0, false));
}

TEST(VornText, LinesBreakTheSameWayAtEveryZoom) {
  auto t = TextBox(QStringLiteral("Lines break the same way at every zoom, in images and PDFs alike."));
  t->SetBounds(0, 0, 120, 200);
  ASSERT_GT(t->LineRects().size(), 1u);
  // The lines are measured in world units: painted at zoom 3, no ink lies off them.
  const TInkCheck c = CheckInk(t.get(), Render(t.get(), 400, 600, 3.0), 3.0, 0, 0, false, 2.0f, 2);
  EXPECT_GT(c.Inked, 200);
  EXPECT_EQ(c.StrayInk, 0);
}

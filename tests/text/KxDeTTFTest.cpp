// Fonts: outlines to strokes (the walk over native outline records, curve flattening, the stroke list,
// real glyphs of DejaVu Sans) and the reference-font cache (metrics in design units, the cache's
// keying, kerning, ABC extents and the metric scalings).
#include "support/TestSupport.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRawFont>

namespace vorn {
namespace {

// Builds outlines in the native layout: per polygon a header (byte count, type, start point),
// then curve records (type, count, points); all little-endian, coordinates 16.16 fixed.
class TOutline {
 public:
  TOutline& Polygon(double X, double Y, uint32_t Type = 24) {
    Close();
    FPolygon = FBuf.size();
    U32(0);
    U32(Type);
    Fixed(X);
    Fixed(Y);
    return *this;
  }
  TOutline& Record(uint16_t Type, std::vector<std::pair<double, double>> Points) {
    U16(Type);
    U16(static_cast<uint16_t>(Points.size()));
    for (auto [x, y] : Points) {
      Fixed(x);
      Fixed(y);
    }
    return *this;
  }
  std::vector<char> Bytes() {
    Close();
    return FBuf;
  }
  // Overrides the byte count of the last polygon.
  TOutline& ByteCount(uint32_t N) {
    FForcedCount = N;
    return *this;
  }

 private:
  void Close() {
    if (FPolygon < 0) return;
    const uint32_t n = FForcedCount ? FForcedCount : static_cast<uint32_t>(FBuf.size() - FPolygon);
    for (int i = 0; i < 4; ++i) FBuf[static_cast<size_t>(FPolygon) + i] = static_cast<char>(n >> (8 * i));
    FPolygon = -1;
    FForcedCount = 0;
  }
  void U16(uint16_t V) {
    FBuf.push_back(static_cast<char>(V & 0xFF));
    FBuf.push_back(static_cast<char>(V >> 8));
  }
  void U32(uint32_t V) {
    U16(static_cast<uint16_t>(V));
    U16(static_cast<uint16_t>(V >> 16));
  }
  void Fixed(double V) { U32(static_cast<uint32_t>(static_cast<int32_t>(std::lround(V * 65536)))); }

  std::vector<char> FBuf;
  long FPolygon = -1;
  uint32_t FForcedCount = 0;
};

TKxDeFontStroke S(int32_t G, float X1, float Y1, float X2, float Y2) { return {G, {X1, Y1}, {X2, Y2}}; }

std::vector<TKxDeFontStroke> All(const TKxDeStrokes& Strokes) {
  std::vector<TKxDeFontStroke> out;
  for (int32_t i = 0; i < Strokes.Count(); ++i) out.push_back(*Strokes.Items(i));
  return out;
}

// Reads with an exactly sized heap copy, so a read past the end is caught by the sanitizers.
bool Read(const TKxDeTTF& Ttf, const std::vector<char>& Bytes, TKxDeStrokes* Strokes) {
  std::unique_ptr<char[]> exact(new char[Bytes.size() ? Bytes.size() : 1]);
  std::copy(Bytes.begin(), Bytes.end(), exact.get());
  return Ttf.ReadOutline(exact.get(), static_cast<qsizetype>(Bytes.size()), Strokes);
}

struct Fixture : ::testing::Test {
  TOwned<TKxDeTTF> Ttf{Create<TKxDeTTF>()};
  TOwned<TKxDeStrokes> Strokes{Create<TKxDeStrokes>()};
};

using OutlineWalk = Fixture;

TEST_F(OutlineWalk, RecordsBecomeStrokesPerPolygonClosedWhereTheyEndElsewhere) {
  struct TCase {
    const char* Name;
    std::vector<char> Bytes;
    int32_t Precision;
    std::vector<TKxDeFontStroke> Want;
  };
  const TCase cases[] = {
      {"one stroke per edge, none for a repeated point, one closing the polygon",
       TOutline().Polygon(0, 0).Record(1, {{10, 0}, {10, 0}, {10, 10}}).Record(1, {{10, 10}, {0, 10}}).Bytes(),
       5,
       {S(0, 0, 0, 10, 0), S(0, 10, 0, 10, 10), S(0, 10, 10, 0, 10), S(0, 0, 10, 0, 0)}},
      {"no closing stroke when the polygon ends on its start",
       TOutline().Polygon(0, 0).Record(1, {{10, 0}, {10, 10}, {0, 0}}).Bytes(),
       5,
       {S(0, 0, 0, 10, 0), S(0, 10, 0, 10, 10), S(0, 10, 10, 0, 0)}},
      // Controls (10, 0) and (20, 10) imply the on-curve point (15, 5) between them; halfway along
      // (0,0)-(10,0)-(15,5) is (B - 2A + C)/4 + (2A - 2B)/2 + B.
      {"quadratic records in one piece",
       TOutline().Polygon(0, 0).Record(2, {{10, 0}, {20, 10}, {20, 20}}).Bytes(),
       1,
       {S(0, 0, 0, 15, 5), S(0, 15, 5, 20, 20), S(0, 20, 20, 0, 0)}},
      {"quadratic records in two pieces",
       TOutline().Polygon(0, 0).Record(2, {{10, 0}, {20, 10}, {20, 20}}).Bytes(),
       2,
       {S(0, 0, 0, 8.75f, 1.25f), S(0, 8.75f, 1.25f, 15, 5), S(0, 15, 5, 18.75f, 11.25f), S(0, 18.75f, 11.25f, 20, 20),
        S(0, 20, 20, 0, 0)}},
      // Numbered polygons, unknown records skipped with their points, fractional values.
      {"numbered polygons",
       TOutline()
           .Polygon(0, 0)
           .Record(1, {{10, 0}})
           .Record(3, {{99, 99}, {98, 98}})
           .Record(1, {{10, 10}})
           .Polygon(2.5, -0.25)
           .Record(1, {{4, 2}})
           .Bytes(),
       5,
       {S(0, 0, 0, 10, 0), S(0, 10, 0, 10, 10), S(0, 10, 10, 0, 0), S(1, 2.5f, -0.25f, 4, 2),
        S(1, 4, 2, 2.5f, -0.25f)}},
  };
  for (const TCase& c : cases) {
    Strokes->ClearStrokes();
    Ttf->SetSplinePrecision(c.Precision);
    ASSERT_TRUE(Read(*Ttf, c.Bytes, Strokes.get())) << c.Name;
    EXPECT_EQ(All(*Strokes), c.Want) << c.Name;
  }
  EXPECT_EQ(Strokes->GetNumGlyphs(), 2);
  EXPECT_EQ(Strokes->StartOfGlyph(1), 3);
}

TEST_F(OutlineWalk, MalformedBuffersAreRefusedWithoutReadingPastThem) {
  const auto good = TOutline().Polygon(0, 0).Record(1, {{10, 0}, {10, 10}}).Bytes();
  EXPECT_FALSE(Read(*Ttf, {}, Strokes.get()));
  EXPECT_FALSE(Read(*Ttf, std::vector<char>(good.begin(), good.begin() + 15), Strokes.get()));
  EXPECT_FALSE(Read(*Ttf, TOutline().Polygon(0, 0, 23).Record(1, {{1, 1}}).Bytes(), Strokes.get()));
  // A byte count beyond the buffer, or smaller than a header.
  EXPECT_FALSE(Read(*Ttf, TOutline().Polygon(0, 0).Record(1, {{1, 1}}).ByteCount(1000).Bytes(), Strokes.get()));
  EXPECT_FALSE(Read(*Ttf, TOutline().Polygon(0, 0).Record(1, {{1, 1}}).ByteCount(8).Bytes(), Strokes.get()));
  // A record whose points run past its polygon, and a truncated record header.
  auto overrun = good;
  overrun[18] = 50;  // point count of the first record
  EXPECT_FALSE(Read(*Ttf, overrun, Strokes.get()));
  auto truncated = good;
  truncated.resize(good.size() - 14);  // 2 bytes of a record header remain
  truncated[0] = static_cast<char>(truncated.size());
  EXPECT_FALSE(Read(*Ttf, truncated, Strokes.get()));
  EXPECT_FALSE(Ttf->ReadOutline(nullptr, 40, Strokes.get()));

  Strokes->ClearStrokes();
  EXPECT_TRUE(Read(*Ttf, good, Strokes.get()));
  EXPECT_EQ(Strokes->Count(), 3);
}

TEST(CurveFlattening, EveryPrecisionGivesAChainOfItsSegmentsEndingExactlyOnTheEnd) {
  TOwned<TKxDeTTF> ttf(Create<TKxDeTTF>());
  for (int32_t n = 1; n <= 100; ++n) {
    ttf->SetSplinePrecision(n);
    TOwned<TKxDeStrokes> s(Create<TKxDeStrokes>());
    TPointF start{0, 0};
    ttf->DrawQSpline(7, start, s.get(), TPointF{100, 0}, TPointF{50, 100});
    ASSERT_EQ(s->Count(), n);
    EXPECT_EQ(s->Items(n - 1)->P2, (TPointF{100, 0})) << n;
    EXPECT_EQ(start, (TPointF{100, 0})) << n;
    TPointF at{0, 0};
    for (int32_t i = 0; i < n; ++i) {
      EXPECT_EQ(s->Items(i)->GlyphNumber, 7);
      EXPECT_EQ(s->Items(i)->P1, at) << n << " " << i;
      at = s->Items(i)->P2;
    }
  }
  // A degenerate curve gives nothing (the clamped precisions show in the glyph test below).
  TOwned<TKxDeStrokes> s(Create<TKxDeStrokes>());
  TPointF p{3, 4};
  ttf->DrawQSpline(0, p, s.get(), TPointF{3, 4}, TPointF{3, 4});
  EXPECT_EQ(s->Count(), 0);
}

TEST(StrokeList, ContourQueriesEnumerationAndBounds) {
  TOwned<TKxDeStrokes> s(Create<TKxDeStrokes>());
  EXPECT_EQ(s->StartOfGlyph(0), -1);
  // Contours 0 and 2, none numbered 1.
  for (int32_t g : {0, 0, 2, 2, 2}) s->Add(TKxDeTTF::NewStroke(g, {float(g), -1}, {5, float(g) + 3}));
  EXPECT_EQ(s->GetNumGlyphs(), 3);
  EXPECT_EQ(s->StartOfGlyph(1), -1);
  EXPECT_EQ(s->StartOfGlyph(2), 2);
  EXPECT_EQ(s->GlyphNumStrokes(2), 3);
  EXPECT_EQ(s->GlyphNumStrokes(0), 5) << "the missing start of contour 1 is stood in for by the count";
  EXPECT_EQ(s->GetBounds(), (TRectF{0, -1, 5, 5}));
  std::vector<int32_t> seen;
  s->EnumStrokes([&](int32_t Index, const TKxDeFontStroke&) {
    seen.push_back(Index);
    return Index < 2;
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_THROW(s->GetKxDeFontStroke(5), Exception);
  EXPECT_EQ(s->Items(5), nullptr);
  s->CellIncX = 40;
  s->BlackBoxX = 30;
  s->BlackBoxY = 10;
  s->ClearStrokes();
  EXPECT_EQ(s->GetCellIncX2(), 30) << "without strokes the black box stands in";
  EXPECT_EQ(s->GetBounds(), (TRectF{0, 0, 30, static_cast<float>(10 / 3.0)}));
}

struct DejaVuGlyphs : ::testing::Test {
  void SetUp() override {
    if (CheckForFont(QStringLiteral("DejaVu Sans")) != QLatin1String("DejaVu Sans"))
      GTEST_SKIP() << "DejaVu Sans is not installed";
    TFont f;
    f.SetName(QStringLiteral("DejaVu Sans"));
    Ttf->SetFont(&f);
  }
  TOwned<TKxDeStrokes> Glyph(char32_t C) {
    TOwned<TKxDeStrokes> s = Ttf->GetCharacterGlyphs(static_cast<int32_t>(C));
    EXPECT_TRUE(s) << "no strokes for " << uint32_t(C);
    return s;
  }
  // Every contour is one closed chain of strokes.
  static void ExpectClosedContours(const TKxDeStrokes& S) {
    for (int32_t g = 0; g < S.GetNumGlyphs(); ++g) {
      const int32_t first = S.StartOfGlyph(g), n = S.GlyphNumStrokes(g);
      ASSERT_GT(n, 0);
      for (int32_t i = 0; i < n; ++i) {
        const TKxDeFontStroke& a = *S.Items(first + i);
        const TKxDeFontStroke& b = *S.Items(first + (i + 1) % n);
        EXPECT_EQ(a.GlyphNumber, g);
        EXPECT_EQ(a.P2, b.P1) << "contour " << g << " stroke " << i;
        EXPECT_FALSE(a.P1 == a.P2);
      }
    }
  }
  TOwned<TKxDeTTF> Ttf{Create<TKxDeTTF>()};
};

// Outline shapes are compared with an independent engine below; here the counts that depend on
// the flattening precision, the metrics and the face chosen by the style.
TEST_F(DejaVuGlyphs, CurvesFollowThePrecisionMetricsAreInDesignUnitsAndTheStyleChoosesTheFace) {
  // Each contour of "o" is four on-curve points with two controls between each: eight curve
  // pieces, each flattened into SplinePrecision segments.
  for (auto [precision, perContour] : {std::pair{5, 40}, std::pair{0, 8}, std::pair{1000, 800}}) {
    Ttf->SetSplinePrecision(precision);
    const TOwned<TKxDeStrokes> o = Glyph(U'o');
    ASSERT_TRUE(o);
    EXPECT_EQ(o->GetNumGlyphs(), 2);
    EXPECT_EQ(o->GlyphNumStrokes(0), perContour) << precision;
    EXPECT_EQ(o->GlyphNumStrokes(1), perContour) << precision;
    ExpectClosedContours(*o);
  }
  const TOwned<TKxDeStrokes> space = Glyph(U' ');
  ASSERT_TRUE(space);
  EXPECT_EQ(space->Count(), 0);
  EXPECT_EQ(space->BlackBoxX, 651) << "a space carries its advance";
  const TOwned<TKxDeStrokes> regular = Glyph(U'I');
  ASSERT_TRUE(regular);
  EXPECT_EQ(regular->CellIncX, 604);
  EXPECT_EQ(regular->BlackBoxX, 202);
  EXPECT_EQ(regular->GlyphOriginY, 1493);
  EXPECT_EQ(Ttf->Font()->Height(), -2048);
  TFont bold;
  bold.Assign(*Ttf->Font());
  bold.SetStyle(TFontStyles{TFontStyle::fsBold});
  Ttf->SetFont(&bold);
  const TOwned<TKxDeStrokes> heavy = Glyph(U'I');
  ASSERT_TRUE(heavy);
  EXPECT_GT(heavy->BlackBoxX, regular->BlackBoxX);
  EXPECT_EQ(heavy->Count(), 4);
}

// Qt's own font engine outlines the same glyphs independently: the strokes must trace the same
// contours, point for point within a design unit, in both directions.
double DistanceToSegment(QPointF P, QPointF A, QPointF B) {
  const QPointF d = B - A;
  const double len2 = QPointF::dotProduct(d, d);
  double t = len2 > 0 ? QPointF::dotProduct(P - A, d) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  const QPointF q = A + t * d;
  return std::hypot(P.x() - q.x(), P.y() - q.y());
}

double DistanceToPolygons(QPointF P, const QList<QPolygonF>& Polygons) {
  double best = 1e300;
  for (const QPolygonF& poly : Polygons)
    for (qsizetype i = 0; i + 1 < poly.size(); ++i) best = std::min(best, DistanceToSegment(P, poly[i], poly[i + 1]));
  return best;
}

TEST(OutlineFidelity, StrokesTraceTheOutlinesOfAnIndependentFontEngine) {
  int checkedFonts = 0;
  for (const char* family : {"DejaVu Sans", "DejaVu Serif", "Nimbus Sans", "Nimbus Roman"}) {
    const QString name = QString::fromLatin1(family);
    if (CheckForFont(name) != name) continue;
    SCOPED_TRACE(family);
    ++checkedFonts;
    TOwned<TKxDeTTF> ttf(Create<TKxDeTTF>());
    TFont f;
    f.SetName(name);
    ttf->SetFont(&f);
    ttf->SetSplinePrecision(20);
    QRawFont raw(FontFileFor(name), 1, QFont::PreferNoHinting);
    ASSERT_TRUE(raw.isValid());
    raw.setPixelSize(raw.unitsPerEm());
    for (QChar c : QStringLiteral("AaBbgQ@&%8o0SwXß§{~")) {
      SCOPED_TRACE(QString(c).toStdString());
      const TOwned<TKxDeStrokes> s = ttf->GetCharacterGlyphs(c.unicode());
      ASSERT_TRUE(s);
      const QList<quint32> glyphs = raw.glyphIndexesForString(QString(c));
      ASSERT_EQ(glyphs.size(), 1);
      QList<QPolygonF> polygons = raw.pathForGlyph(glyphs[0]).toSubpathPolygons();
      // Qt's paths grow downwards.
      for (QPolygonF& poly : polygons)
        for (QPointF& p : poly) p.setY(-p.y());
      polygons.removeIf([](const QPolygonF& P) { return P.size() < 2; });
      EXPECT_EQ(s->GetNumGlyphs(), polygons.size());
      QList<QPolygonF> ours;
      for (int32_t g = 0; g < s->GetNumGlyphs(); ++g) {
        QPolygonF poly;
        for (int32_t i = s->StartOfGlyph(g), n = i + s->GlyphNumStrokes(g); i < n; ++i) {
          const TKxDeFontStroke& st = *s->Items(i);
          poly << QPointF(st.P1.X, st.P1.Y) << QPointF(st.P2.X, st.P2.Y);
        }
        ours << poly;
      }
      double worst = 0;
      for (const QPolygonF& poly : ours)
        for (QPointF p : poly) worst = std::max(worst, DistanceToPolygons(p, polygons));
      for (const QPolygonF& poly : polygons)
        for (QPointF p : poly) worst = std::max(worst, DistanceToPolygons(p, ours));
      EXPECT_LT(worst, 1.0);
    }
  }
  if (checkedFonts == 0) GTEST_SKIP() << "none of the fonts is installed";
}

TEST(DefaultFont, AnUninstalledFamilyIsServedByASubstitute) {
  TOwned<TKxDeTTF> ttf(Create<TKxDeTTF>());  // "Swiss 721", not installed here
  const TOwned<TKxDeStrokes> s = ttf->GetCharacterGlyphs('A');
  ASSERT_TRUE(s);
  EXPECT_GT(s->Count(), 0);
}

// ---- The reference-font cache ------------------------------------------------------------------------

TFont FontNamed(const QString& Name) {
  TFont f;
  f.SetName(Name);
  return f;
}

bool Installed(const QString& Family) { return CheckForFont(Family).compare(Family, Qt::CaseInsensitive) == 0; }

struct DejaVuRef : ::testing::Test {
  void SetUp() override {
    if (!Installed(QStringLiteral("DejaVu Sans"))) GTEST_SKIP() << "DejaVu Sans is not installed";
  }
  const TFont Font = FontNamed(QStringLiteral("DejaVu Sans"));
};

TEST_F(DejaVuRef, MetricsAreInDesignUnitsOfTheRegularFaceWhateverTheStyle) {
  TFont styled = Font;
  styled.SetSize(31);
  styled.SetStyle(TFontStyles{TFontStyle::fsBold, TFontStyle::fsItalic});
  for (const TFont& f : {Font, styled}) {
    EXPECT_EQ(TmekFontRef::GetEMSize(f), 2048);
    EXPECT_EQ(TmekFontRef::GetHeight(f), 2384);
    const TmekRefFontInfo* info = TmekFontRef::GetRefFontMetrics(f);
    EXPECT_EQ(info->tmAscent, 1901);
    EXPECT_EQ(info->tmWeight, 400);
    EXPECT_EQ(info->tmPitchAndFamily, 0x20 | 0x04 | 0x02 | 0x01) << "Swiss, TrueType, vector, variable pitch";
  }
  TmekRefFontInfo info;
  const TFontHandle h = TmekFontRef::GetRefFontHandle(styled, info);
  ASSERT_TRUE(h.IsValid());
  EXPECT_EQ(h.LogFont().lfHeight, -2048);
  EXPECT_TRUE(TmekFontRef::IsTTF(Font));
  EXPECT_FALSE(TmekFontRef::IsOTF(Font));
}

TEST_F(DejaVuRef, TheCacheIsKeyedByFaceNameAndAMissingFamilyIsMeasuredOnce) {
  TmekFontRef::FreeRefFontList();
  EXPECT_EQ(TmekFontRef::CreateRefFont(Font), 0);
  EXPECT_EQ(TmekFontRef::CreateRefFont(FontNamed(QStringLiteral("dejavu SANS"))), 0) << "names ignore case";
  EXPECT_EQ(TmekFontRef::RefFontCount(), 1);
  EXPECT_THROW(TmekFontRef::RefFontName(1), Exception);
  // A family that is not installed is stored under its substitute's name, so every request misses
  // and adds an entry; the new entries share one record.
  const TFont missing = FontNamed(QStringLiteral("Swiss 721"));
  if (!Installed(missing.Name())) {
    EXPECT_EQ(TmekFontRef::CreateRefFont(missing), 1);
    EXPECT_EQ(TmekFontRef::CreateRefFont(missing), 2);
    EXPECT_NE(TmekFontRef::RefFontName(1), missing.Name());
    const PmekRefFontInfo third = TmekFontRef::GetRefFontMetrics(missing);
    EXPECT_EQ(TmekFontRef::GetRefFontMetrics(missing), third);
  }
  TmekFontRef* ref = Create<TmekFontRef>();
  Free(ref);
  EXPECT_EQ(TmekFontRef::RefFontCount(), 0) << "freeing an instance frees the whole cache";
  EXPECT_EQ(TmekFontRef::GetEMSize(Font), 2048) << "refilled on demand";
}

TEST_F(DejaVuRef, KerningAndABCExtents) {
  ASSERT_TRUE(TmekFontRef::IsKerningAvailable(Font));
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'A', 'V'), -131);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 'T', 'o'), -348);
  EXPECT_EQ(TmekFontRef::GetKerningValue(Font, 0xFFFF, 'A'), 0) << "absent pair";
  // The key is the first character in the high word and the second in the low word.
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(Font)->KerningPairsList->at(int32_t('T') << 16 | 'o'), -348);
  const TFont mono = FontNamed(QStringLiteral("DejaVu Sans Mono"));
  if (Installed(mono.Name())) {
    EXPECT_EQ(TmekFontRef::GetKerningValue(mono, 'A', 'V'), 0);
  }
  int32_t height = -1;
  TABC abc{1, 2, 3};
  EXPECT_FALSE(TmekFontRef::GetTextABCExtent(Font, QString(), height, &abc));
  EXPECT_EQ(abc.abcB, 0u);
  // "I" is 604 wide: 201 before its 202-unit stem and 201 after.
  ASSERT_TRUE(TmekFontRef::GetTextABCExtent(Font, QStringLiteral("II"), height, &abc));
  EXPECT_EQ(height, 2384);
  EXPECT_EQ(abc.abcA, 201);
  EXPECT_EQ(abc.abcB, 2u * 604 - 201 - 201);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(abc), 2 * 604);
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(Font, QStringLiteral("II"), height), 806);
  EXPECT_EQ(TmekFontRef::ABCWidthAddition(TABC{-5, 10, -2}), 3);
  // Shape fonts are measured through a platform font of the same family.
  TOwned<TKxDeShapeFont> shapeFont(Create<TKxDeShapeFont>());
  shapeFont->SetName(QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(TmekFontRef::GetRefFontMetrics(*shapeFont), TmekFontRef::GetRefFontMetrics(Font)) << "one entry per family";
  EXPECT_EQ(TmekFontRef::GetStandardTextWidth(*shapeFont, QStringLiteral("II"), height), 806);
}

// A shape font answers every measure as the platform font of its family does.
TEST_F(DejaVuRef, DesignUnitsScaleToPointsDevicesAndWorldUnits) {
  const double mm = CoordsPixelsPerMMConvertValue, dpi = ScreenPixelsPerInch;
  TOwned<TKxDeShapeFont> shapeFont(Create<TKxDeShapeFont>());
  shapeFont->SetName(Font.Name());
  const auto measures = [&](const char* Kind, const auto& F) {
    SCOPED_TRACE(Kind);
    EXPECT_EQ(TmekFontRef::GetEMSize(F), 2048);
    EXPECT_EQ(TmekFontRef::GetHeight(F), 2384);
    EXPECT_EQ(TmekFontRef::GetAscentPart(F), 1901);
    EXPECT_EQ(TmekFontRef::GetDescentPart(F), 483);
    EXPECT_EQ(TmekFontRef::GetInternalLeading(F), 2384 - 2048);
    EXPECT_EQ(TmekFontRef::GetExternalLeading(F), 0);
    EXPECT_TRUE(TmekFontRef::IsTTF(F) && !TmekFontRef::IsOTF(F) && TmekFontRef::IsKerningAvailable(F));
    EXPECT_EQ(TmekFontRef::GetKerningValue(F, 'A', 'V'), -131);
    EXPECT_EQ(TmekFontRef::CreateLogicalFont(F).lfFaceName, Font.Name());
    EXPECT_DOUBLE_EQ(TmekFontRef::GetFontMetrics(F, 7).tmAscent, 1901 * (7 * mm / dpi * 72) / 2048);
    EXPECT_DOUBLE_EQ(TmekFontRef::GetFontDeviceMetrics(F, 50, 300).tmHeight, 2384 * (50.0 / 300 * 72) / 2048);
    EXPECT_DOUBLE_EQ(TmekFontRef::GetNeutralFontMetrics(F, 1024).tmDescent, (2384 - 1901) / 2.0);
    EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToCoordinates(F, 2048, 10), 10 * mm);
    EXPECT_DOUBLE_EQ(TmekFontRef::ConvertToFontSize(F, 1024, 10), 5);
    EXPECT_DOUBLE_EQ(TmekFontRef::CoordinatesFontFactor(F, 4096), 2 * mm);
    EXPECT_DOUBLE_EQ(TmekFontRef::GetEMSizedTracking(F, 4, 1), 512) << "a quarter of the height without leading";
    EXPECT_DOUBLE_EQ(TmekFontRef::GetFontHeightFromNumHeight(F, 10), 10.0 * 2384 / (1901 - 336));
    EXPECT_THROW(TmekFontRef::GetFontDeviceMetrics(F, 12, 0), Exception) << "no resolution";
  };
  measures("platform font", Font);
  measures("shape font", *shapeFont);
}

TEST(OpenTypeFonts, PostScriptOutlinesAreNotTrueType) {
  const TFont nimbus = FontNamed(QStringLiteral("Nimbus Sans"));
  if (!Installed(nimbus.Name())) GTEST_SKIP() << "no PostScript-flavoured OpenType font installed";
  EXPECT_TRUE(TmekFontRef::IsOTF(nimbus));
  EXPECT_FALSE(TmekFontRef::IsTTF(nimbus));
  EXPECT_EQ(TmekFontRef::GetEMSize(nimbus), 1000);
}

}  // namespace
}  // namespace vorn

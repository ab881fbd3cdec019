#include "vorn/text/FontEngine_p.h"

#include "vorn/common/CommonLib.h"
#include "vorn/common/Rounding.h"

#include <fontconfig/fontconfig.h>

#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::fontengine {

class TLibrary {
 public:
  TLibrary() {
    if (FT_Init_FreeType(&FLib) != 0) FLib = nullptr;
  }
  ~TLibrary() {
    if (FLib) FT_Done_FreeType(FLib);
  }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;
  FT_Library Lib() const { return FLib; }

 private:
  FT_Library FLib = nullptr;
};

namespace {

std::shared_ptr<TLibrary> Library() {
  // Faces keep the library alive, so the order in which statics go at exit does not matter.
  static const std::shared_ptr<TLibrary> lib = std::make_shared<TLibrary>();
  return lib;
}

struct TResolved {
  QString File;
  int Index = 0;
  QString Family;
};

// fontconfig's choice for a family in a style; empty File when there is none.
TResolved Resolve(const QString& Family, bool Bold, bool Italic) {
  static QHash<QString, TResolved> cache;
  const QString key = Family.toLower() + QLatin1Char('/') + QLatin1Char(Bold ? 'b' : 'r') +
                      QLatin1Char(Italic ? 'i' : 'n');
  if (auto it = cache.constFind(key); it != cache.constEnd()) return it.value();

  TResolved out;
  if (FcInit()) {
    FcPattern* pat = FcPatternCreate();
    const QByteArray name = Family.isEmpty() ? QByteArray("sans-serif") : Family.toUtf8();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcPatternAddInteger(pat, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pat, &result)) {
      FcChar8* file = nullptr;
      FcChar8* family = nullptr;
      int index = 0;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
        out.File = QString::fromUtf8(reinterpret_cast<const char*>(file));
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.Index = index;
      if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
        out.Family = QString::fromUtf8(reinterpret_cast<const char*>(family));
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
  }
  if (!out.File.isEmpty() && !Family.isEmpty() && out.Family.compare(Family, Qt::CaseInsensitive) != 0)
    PostDebugMessage(QStringLiteral("Font \"%1\" is not installed; \"%2\" is used instead").arg(Family, out.Family));
  cache.insert(key, out);
  return out;
}

uint16_t BE16(const uint8_t* P) { return static_cast<uint16_t>(P[0] << 8 | P[1]); }

bool IsTrueTypeOutline(FT_Face Face) {
  if (!FT_IS_SFNT(Face)) return false;
  FT_ULong len = 0;
  return FT_Load_Sfnt_Table(Face, TTAG_glyf, 0, nullptr, &len) == 0 && len > 0;
}

// The family nibble of the pitch-and-family byte, from the PANOSE classification.
uint8_t FamilyBits(FT_Face Face, const TT_OS2* Os2) {
  constexpr uint8_t FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30, FF_SCRIPT = 0x40,
                    FF_DECORATIVE = 0x50;
  if (!Os2) return FT_IS_FIXED_WIDTH(Face) ? FF_MODERN : FF_DONTCARE;
  switch (Os2->panose[0]) {
    case 3: return FF_SCRIPT;
    case 4: return FF_DECORATIVE;
    default: break;
  }
  if (FT_IS_FIXED_WIDTH(Face)) return FF_MODERN;
  const uint8_t serif = Os2->panose[1];
  if (serif >= 2 && serif <= 10) return FF_ROMAN;
  if (serif >= 11 && serif <= 15) return FF_SWISS;
  return FF_DONTCARE;
}

// ---- outline encoding -------------------------------------------------------------------------

struct TPt {
  double X = 0;
  double Y = 0;
};

TPt Mid(TPt A, TPt B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

// Writes the native polygon and curve records.
class TOutlineWriter {
 public:
  explicit TOutlineWriter(double Scale) : FScale(Scale) {}

  void BeginPolygon(TPt Start) {
    FPolygonStart = FBuf.size();
    U32(0);  // byte count, patched in EndPolygon
    U32(24);
    Point(Start);
  }
  void EndPolygon() {
    EndRecord();
    Patch32(FPolygonStart, static_cast<uint32_t>(FBuf.size() - FPolygonStart));
  }
  // The type of the open record (0 when none).
  uint16_t OpenType() const { return FRecordStart >= 0 ? FRecordType : 0; }
  bool LastWasOffCurve() const { return FLastOff; }
  void BeginRecord(uint16_t Type) {
    EndRecord();
    FRecordStart = FBuf.size();
    FRecordType = Type;
    FRecordCount = 0;
    U16(Type);
    U16(0);  // point count, patched in EndRecord
  }
  void Add(TPt P, bool OffCurve) {
    Point(P);
    ++FRecordCount;
    FLastOff = OffCurve;
  }
  void EndRecord() {
    if (FRecordStart < 0) return;
    Patch16(FRecordStart + 2, FRecordCount);
    FRecordStart = -1;
    FLastOff = false;
  }
  QByteArray Take() { return std::move(FBuf); }

 private:
  void U16(uint16_t V) {
    FBuf.append(static_cast<char>(V & 0xFF));
    FBuf.append(static_cast<char>(V >> 8));
  }
  void U32(uint32_t V) {
    U16(static_cast<uint16_t>(V & 0xFFFF));
    U16(static_cast<uint16_t>(V >> 16));
  }
  void Patch16(qsizetype At, uint16_t V) {
    FBuf[At] = static_cast<char>(V & 0xFF);
    FBuf[At + 1] = static_cast<char>(V >> 8);
  }
  void Patch32(qsizetype At, uint32_t V) {
    Patch16(At, static_cast<uint16_t>(V & 0xFFFF));
    Patch16(At + 2, static_cast<uint16_t>(V >> 16));
  }
  void Fixed(double V) {
    const double raw = std::nearbyint(V * FScale * 65536.0);
    const double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    U32(static_cast<uint32_t>(static_cast<int32_t>(std::clamp(raw, lo, hi))));
  }
  void Point(TPt P) {
    Fixed(P.X);
    Fixed(P.Y);
  }

  double FScale;
  QByteArray FBuf;
  qsizetype FPolygonStart = 0;
  qsizetype FRecordStart = -1;
  uint16_t FRecordType = 0;
  uint16_t FRecordCount = 0;
  bool FLastOff = false;
};

constexpr uint16_t kLine = 1;
constexpr uint16_t kQSpline = 2;

// A cubic piece as quadratic pieces, each its own record (control, end), split until the
// quadratic stays within a quarter of a design unit of the cubic.
void CubicToQuadratics(TOutlineWriter& W, TPt P0, TPt P1, TPt P2, TPt P3, int Depth = 0) {
  const double ex = P3.X - 3 * P2.X + 3 * P1.X - P0.X;
  const double ey = P3.Y - 3 * P2.Y + 3 * P1.Y - P0.Y;
  const double err = std::sqrt(3.0) / 36.0 * std::hypot(ex, ey);
  if (err <= 0.25 || Depth >= 8) {
    const TPt q{(3 * (P1.X + P2.X) - P0.X - P3.X) / 4, (3 * (P1.Y + P2.Y) - P0.Y - P3.Y) / 4};
    W.BeginRecord(kQSpline);
    W.Add(q, true);
    W.Add(P3, false);
    W.EndRecord();
    return;
  }
  const TPt a = Mid(P0, P1), b = Mid(P1, P2), c = Mid(P2, P3);
  const TPt d = Mid(a, b), e = Mid(b, c);
  const TPt m = Mid(d, e);
  CubicToQuadratics(W, P0, a, d, m, Depth + 1);
  CubicToQuadratics(W, m, e, c, P3, Depth + 1);
}

}  // namespace

// ---- faces ------------------------------------------------------------------------------------

TFace::TFace(std::shared_ptr<TLibrary> Library, FT_Face Face, QString FamilyName)
    : FLibrary(std::move(Library)), FFace(Face), FFamilyName(std::move(FamilyName)) {}

TFace::~TFace() {
  if (FFace) FT_Done_Face(FFace);
}

int32_t TFace::UnitsPerEM() const { return FFace->units_per_EM > 0 ? FFace->units_per_EM : 1; }

bool TFace::IsScalable() const { return FT_IS_SCALABLE(FFace); }

uint32_t TFace::GlyphIndex(uint32_t CharCode) const { return FT_Get_Char_Index(FFace, CharCode); }

const QHash<uint32_t, std::vector<uint16_t>>& TFace::CharactersOfGlyphs() {
  if (!FCharsOfGlyph) {
    FCharsOfGlyph = std::make_unique<QHash<uint32_t, std::vector<uint16_t>>>();
    FT_UInt glyph = 0;
    FT_ULong code = FT_Get_First_Char(FFace, &glyph);
    // Kerning pairs name characters by 16-bit codes, so only the basic plane takes part.
    while (glyph != 0 && code <= 0xFFFF) {
      (*FCharsOfGlyph)[glyph].push_back(static_cast<uint16_t>(code));
      code = FT_Get_Next_Char(FFace, code, &glyph);
    }
  }
  return *FCharsOfGlyph;
}

std::shared_ptr<TFace> OpenFace(const QString& Family, int32_t Weight, bool Italic) {
  static QHash<QString, std::shared_ptr<TFace>> faces;
  const TResolved r = Resolve(Family, Weight >= 600, Italic);
  if (r.File.isEmpty()) return nullptr;
  const QString key = r.File + QLatin1Char('#') + QString::number(r.Index);
  if (auto it = faces.constFind(key); it != faces.constEnd()) return it.value();
  std::shared_ptr<TLibrary> lib = Library();
  if (!lib->Lib()) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(lib->Lib(), r.File.toLocal8Bit().constData(), r.Index, &face) != 0 || !face) return nullptr;
  auto out = std::make_shared<TFace>(lib, face, r.Family.isEmpty() ? QString::fromUtf8(face->family_name) : r.Family);
  faces.insert(key, out);
  return out;
}

// ---- metrics ----------------------------------------------------------------------------------

bool HasOutlineMetrics(const TFace& Face) { return Face.IsScalable(); }

int32_t ItalicAngle(const TFace& Face) {
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(Face.Face(), FT_SFNT_POST));
  if (!post) return 0;
  return Round32(static_cast<double>(post->italicAngle) * 10.0 / 65536.0);
}

TTextMetrics TextMetrics(TFace& F, double Scale) {
  FT_Face face = F.Face();
  TTextMetrics tm;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version == 0xFFFF) os2 = nullptr;
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const uint8_t pitch = FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH;

  if (!FT_IS_SCALABLE(face)) {
    // A bitmap font answers in the pixels of its first strike.
    if (face->num_fixed_sizes > 0) FT_Select_Size(face, 0);
    const FT_Size_Metrics& m = face->size->metrics;
    tm.Ascent = static_cast<int32_t>(m.ascender >> 6);
    tm.Descent = static_cast<int32_t>(-m.descender >> 6);
    tm.Height = tm.Ascent + tm.Descent;
    tm.AveCharWidth = static_cast<int32_t>(m.max_advance >> 7);
    tm.MaxCharWidth = static_cast<int32_t>(m.max_advance >> 6);
    tm.Weight = (face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
    tm.PitchAndFamily = pitch | FamilyBits(face, os2);
    return tm;
  }

  auto S = [Scale](double V) { return Round32(V * Scale); };
  double ascent = 0, descent = 0;
  if (os2 && os2->usWinAscent + os2->usWinDescent != 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  } else if (hhea) {
    ascent = hhea->Ascender;
    descent = -hhea->Descender;
  } else {
    ascent = face->ascender;
    descent = -face->descender;
  }
  tm.Ascent = S(ascent);
  tm.Descent = S(descent);
  tm.Height = tm.Ascent + tm.Descent;
  tm.InternalLeading = tm.Height - S(F.UnitsPerEM());
  double external = 0;
  if (hhea && os2)
    external = hhea->Line_Gap - ((os2->usWinAscent + os2->usWinDescent) - (hhea->Ascender - hhea->Descender));
  else if (hhea)
    external = hhea->Line_Gap;
  else
    external = face->height - (face->ascender - face->descender);
  tm.ExternalLeading = std::max(0, S(external));
  tm.AveCharWidth = (os2 && os2->xAvgCharWidth > 0) ? S(os2->xAvgCharWidth) : S(CharAdvance(F, 'x'));
  tm.MaxCharWidth = S(static_cast<double>(face->bbox.xMax) - face->bbox.xMin);
  tm.Weight = os2 ? os2->usWeightClass : ((face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400);
  // TrueType outlines are marked as such; other outlines (CFF, Type 1) come through a font
  // driver and carry the device bit beside the vector bit.
  tm.PitchAndFamily = pitch | TMPF_VECTOR | (IsTrueTypeOutline(face) ? TMPF_TRUETYPE : TMPF_DEVICE) |
                      FamilyBits(face, os2);
  return tm;
}

bool LoadGlyph(TFace& F, uint32_t GlyphIndex, TGlyphMetrics& Metrics) {
  FT_Face face = F.Face();
  if (!FT_IS_SCALABLE(face)) return false;
  if (FT_Load_Glyph(face, GlyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM) != 0)
    return false;
  const FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  // Unscaled loads report the metrics in design units.
  Metrics.Width = static_cast<int32_t>(slot->metrics.width);
  Metrics.Height = static_cast<int32_t>(slot->metrics.height);
  Metrics.BearingX = static_cast<int32_t>(slot->metrics.horiBearingX);
  Metrics.BearingY = static_cast<int32_t>(slot->metrics.horiBearingY);
  Metrics.Advance = static_cast<int32_t>(slot->metrics.horiAdvance);
  Metrics.HasOutline = slot->outline.n_contours > 0 && slot->outline.n_points > 0;
  return true;
}

int32_t CharAdvance(TFace& F, uint32_t CharCode) {
  FT_Fixed advance = 0;
  if (FT_Get_Advance(F.Face(), F.GlyphIndex(CharCode), FT_LOAD_NO_SCALE, &advance) != 0) return 0;
  return static_cast<int32_t>(advance);
}

// ---- outlines ---------------------------------------------------------------------------------

QByteArray NativeOutline(const TFace& F, double Scale) {
  const FT_Outline& o = F.Face()->glyph->outline;
  TOutlineWriter w(Scale);
  int first = 0;
  for (int c = 0; c < o.n_contours; ++c) {
    const int last = o.contours[c];
    if (last < first || last >= o.n_points) break;  // a malformed contour table ends the outline
    const int n = last - first + 1;
    const int base = first;
    first = last + 1;
    auto pt = [&](int I) {
      return TPt{static_cast<double>(o.points[base + I].x), static_cast<double>(o.points[base + I].y)};
    };
    auto tag = [&](int I) { return FT_CURVE_TAG(o.tags[base + I]); };
    // A lone point outlines nothing.
    if (n < 2) continue;

    // The polygon starts on the first on-curve point; a contour made only of quadratic control
    // points starts on the implied point between its last and first controls.
    int s = -1;
    for (int i = 0; i < n; ++i)
      if (tag(i) == FT_CURVE_TAG_ON) {
        s = i;
        break;
      }
    TPt start;
    std::vector<int> order;
    if (s >= 0) {
      start = pt(s);
      for (int k = 1; k < n; ++k) order.push_back((s + k) % n);
    } else {
      start = Mid(pt(n - 1), pt(0));
      for (int k = 0; k < n; ++k) order.push_back(k);
    }

    w.BeginPolygon(start);
    TPt current = start;
    const int len = static_cast<int>(order.size());
    for (int k = 0; k < len; ++k) {
      const int i = order[k];
      const TPt p = pt(i);
      const int t = tag(i);
      if (t == FT_CURVE_TAG_CUBIC && !(w.OpenType() == kQSpline && w.LastWasOffCurve())) {
        // A cubic piece: two cubic controls, then an on-curve end (the start when the contour closes).
        const bool haveSecond = k + 1 < len && tag(order[k + 1]) == FT_CURVE_TAG_CUBIC;
        const bool endIsStart = k + 2 == len;
        const bool haveEnd = endIsStart || (k + 2 < len && tag(order[k + 2]) == FT_CURVE_TAG_ON);
        if (haveSecond && haveEnd) {
          const TPt end = endIsStart ? start : pt(order[k + 2]);
          w.EndRecord();
          CubicToQuadratics(w, current, p, pt(order[k + 1]), end);
          current = end;
          k += 2;
          continue;
        }
        // A malformed cubic run degrades to straight lines.
      }
      if (t == FT_CURVE_TAG_CONIC) {
        if (w.OpenType() != kQSpline || !w.LastWasOffCurve()) w.BeginRecord(kQSpline);
        w.Add(p, true);
      } else if (w.OpenType() == kQSpline && w.LastWasOffCurve()) {
        w.Add(p, false);
        w.EndRecord();
      } else {
        if (w.OpenType() != kLine) w.BeginRecord(kLine);
        w.Add(p, false);
      }
      current = p;
    }
    // Controls at the end of the contour curve back to its start; a line back is implied.
    if (w.OpenType() == kQSpline && w.LastWasOffCurve()) w.Add(start, false);
    w.EndPolygon();
  }
  return w.Take();
}

// ---- kerning ----------------------------------------------------------------------------------

std::vector<TKerningPair> KerningPairs(TFace& F) {
  std::vector<TKerningPair> pairs;
  FT_Face face = F.Face();
  if (!FT_IS_SFNT(face)) return pairs;
  FT_ULong len = 0;
  if (FT_Load_Sfnt_Table(face, TTAG_kern, 0, nullptr, &len) != 0 || len < 4) return pairs;
  std::vector<uint8_t> buf(len);
  if (FT_Load_Sfnt_Table(face, TTAG_kern, 0, buf.data(), &len) != 0) return pairs;
  const uint8_t* d = buf.data();
  // Only the version-0 table is read; the extended one was never part of this service.
  if (BE16(d) != 0) return pairs;
  const uint16_t tables = BE16(d + 2);
  const auto& charsOf = F.CharactersOfGlyphs();
  size_t off = 4;
  for (uint16_t t = 0; t < tables; ++t) {
    if (off + 6 > len) break;
    const uint16_t subLength = BE16(d + off + 2);
    const uint16_t coverage = BE16(d + off + 4);
    const uint8_t format = static_cast<uint8_t>(coverage >> 8);
    const bool horizontal = coverage & 1, minimum = coverage & 2, crossStream = coverage & 4;
    if (format != 0) {
      if (subLength < 6) break;
      off += subLength;
      continue;
    }
    if (off + 14 > len) break;
    const size_t nPairs = BE16(d + off + 6);
    const size_t p0 = off + 14;
    // Large tables overflow the 16-bit subtable length, so the pair count decides the size.
    const size_t count = std::min(nPairs, (len - p0) / 6);
    if (horizontal && !minimum && !crossStream) {
      for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = d + p0 + 6 * i;
        const auto left = charsOf.constFind(BE16(e));
        const auto right = charsOf.constFind(BE16(e + 2));
        if (left == charsOf.constEnd() || right == charsOf.constEnd()) continue;
        const int32_t amount = static_cast<int16_t>(BE16(e + 4));
        for (uint16_t a : left.value())
          for (uint16_t b : right.value()) pairs.push_back({a, b, amount});
      }
    }
    off = p0 + 6 * nPairs;
  }
  return pairs;
}

}  // namespace vorn::fontengine

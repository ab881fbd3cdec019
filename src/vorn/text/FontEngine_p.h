#pragma once
// The font engine behind the text unit: fontconfig resolves a family name to an installed font
// file, FreeType opens it and answers what the text classes ask of a selected font — outline
// metrics, text metrics, glyph metrics and outlines, ABC widths and kerning pairs.
//
// Everything is measured in the font's design units and then multiplied by the scale of the
// requested size (pixels per EM over design units per EM), so a font selected at its EM-square
// size answers in design units, the way the reference-font machinery wants it.
//
// Faces and name resolutions are cached for the life of the process; like the rest of the engine
// this is meant for the user-interface thread only.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace vorn::fontengine {

class TLibrary;

// One opened font file (one face of it), shared by every handle that selected it.
class TFace {
 public:
  TFace(std::shared_ptr<TLibrary> Library, FT_Face Face, QString FamilyName);
  ~TFace();
  TFace(const TFace&) = delete;
  TFace& operator=(const TFace&) = delete;

  FT_Face Face() const { return FFace; }
  // The family name of the face fontconfig picked (what a device context reports as selected).
  const QString& FamilyName() const { return FFamilyName; }
  int32_t UnitsPerEM() const;
  bool IsScalable() const;
  // The glyph of a character code (0 for a character the font does not have).
  uint32_t GlyphIndex(uint32_t CharCode) const;
  // Every BMP character that maps to each glyph, built on first use.
  const QHash<uint32_t, std::vector<uint16_t>>& CharactersOfGlyphs();

 private:
  std::shared_ptr<TLibrary> FLibrary;
  FT_Face FFace = nullptr;
  QString FFamilyName;
  std::unique_ptr<QHash<uint32_t, std::vector<uint16_t>>> FCharsOfGlyph;
};

// Resolves and opens the face that serves a family in a style, or null when nothing can be
// opened. Weight is on the usual 0 … 1000 scale; a family is taken to hold a regular and a bold
// face only, so weights below 600 select the regular one (a thin request does not pick an
// extra-light cut a logical-font mapper would never see as part of the family).
std::shared_ptr<TFace> OpenFace(const QString& Family, int32_t Weight, bool Italic);

// The metrics a device context reports for a selected font, in the units of its size.
struct TTextMetrics {
  int32_t Height = 0;
  int32_t Ascent = 0;
  int32_t Descent = 0;
  int32_t InternalLeading = 0;
  int32_t ExternalLeading = 0;
  int32_t AveCharWidth = 0;
  int32_t MaxCharWidth = 0;
  int32_t Weight = 0;
  uint8_t PitchAndFamily = 0;
};

// Pitch-and-family flags of the text metrics.
inline constexpr uint8_t TMPF_FIXED_PITCH = 0x01;  // set for variable-pitch fonts (sic)
inline constexpr uint8_t TMPF_VECTOR = 0x02;
inline constexpr uint8_t TMPF_TRUETYPE = 0x04;
inline constexpr uint8_t TMPF_DEVICE = 0x08;

TTextMetrics TextMetrics(TFace& Face, double Scale);

// Whether the face has outline metrics (an EM square and an italic angle) to report.
bool HasOutlineMetrics(const TFace& Face);
// The italic angle in tenths of a degree, counter-clockwise from vertical.
int32_t ItalicAngle(const TFace& Face);

// The metrics of one glyph in design units.
struct TGlyphMetrics {
  int32_t Width = 0;      // black box
  int32_t Height = 0;
  int32_t BearingX = 0;   // left edge of the black box from the origin
  int32_t BearingY = 0;   // top edge of the black box above the baseline
  int32_t Advance = 0;
  bool HasOutline = false;  // an outline with at least one contour
};

// Loads a glyph unscaled; false when the face cannot give it as an outline.
bool LoadGlyph(TFace& Face, uint32_t GlyphIndex, TGlyphMetrics& Metrics);

// The outline of the glyph last loaded by LoadGlyph, in the native quadratic record layout: per
// contour a 16-byte header (byte count including the header, type 24, start point) followed by
// line (1) and quadratic (2) records (type, point count, points), every coordinate a little-endian
// 16.16 fixed value multiplied by Scale. Cubic outlines are approximated by quadratic pieces.
QByteArray NativeOutline(const TFace& Face, double Scale);

// The advance of a character in design units (the missing-glyph advance for unknown ones).
int32_t CharAdvance(TFace& Face, uint32_t CharCode);

struct TKerningPair {
  uint16_t First = 0;
  uint16_t Second = 0;
  int32_t Amount = 0;  // design units
};

// The pairs of the font's 'kern' table, translated to character codes.
std::vector<TKerningPair> KerningPairs(TFace& Face);

}  // namespace vorn::fontengine

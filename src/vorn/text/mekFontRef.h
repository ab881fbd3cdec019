#pragma once
// TmekFontRef: a process-wide cache of reference-font metrics, one entry per font family, taken
// from the family's font selected at the size of its EM square so that every value is in font
// design units. Text sizes are converted between font units, points and world coordinates from
// these entries, and kerning pairs are looked up in them.
//
// The cache is keyed by face name: a request is looked up under the name it asks for (without
// regard to case) and a new entry is stored under the name of the font actually selected. A family
// that is not installed is therefore looked up in vain every time and adds an entry on every
// request; entries are only freed all together (FreeRefFontList).
//
// Fonts are resolved through fontconfig and measured with FreeType. Like the rest of the engine
// this is for the user-interface thread only.

#include "vorn/common/Canvas.h"
#include "vorn/common/Object.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>

namespace vorn {

namespace fontengine {
class TFace;
}
class TKxDeShapeFont;

// Values of the logical-font fields used here.
inline constexpr int32_t FW_THIN = 100;
inline constexpr int32_t FW_NORMAL = 400;
inline constexpr int32_t FW_BOLD = 700;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t OUT_OUTLINE_PRECIS = 8;
inline constexpr uint8_t NONANTIALIASED_QUALITY = 3;

// A logical font: what is asked of the font mapper. A negative height is the character height
// (the EM square) in pixels, a positive one the cell height, 0 the font's own design units.
struct TLogFont {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = DEFAULT_CHARSET;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  QString lfFaceName;
};

// A logical font realised on this system: the installed face that serves it, at its size. It
// takes the place of a font selected into a memory device context. Copies share the face.
class TFontHandle {
 public:
  TFontHandle() = default;
  // Resolves the logical font; an invalid handle when no installed font can serve it.
  static TFontHandle Create(const TLogFont& LogFont);

  bool IsValid() const { return static_cast<bool>(FFace); }
  explicit operator bool() const { return IsValid(); }
  const TLogFont& LogFont() const { return FLogFont; }
  // The family of the font actually selected (empty for an invalid handle).
  QString FaceName() const;
  // Pixels per design unit at the requested height (1 for a height of 0).
  double Scale() const { return FScale; }
  // The engine's face (for the text unit's own use).
  fontengine::TFace* Face() const { return FFace.get(); }

 private:
  std::shared_ptr<fontengine::TFace> FFace;
  TLogFont FLogFont;
  double FScale = 1.0;
};

// The ABC widths: A before the black box, B the black box, C after it.
struct TABC {
  int32_t abcA = 0;
  uint32_t abcB = 0;
  int32_t abcC = 0;
};
using PABC = TABC*;

// Kerning amounts by (first character shl 16) or second character.
using TmekKerningPairsMap = std::map<int32_t, int32_t>;

// One cached reference font, in its design units.
struct TmekRefFontInfo {
  int32_t emSquare = 0;
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  int32_t tmItalicAngle = 0;
  uint8_t tmPitchAndFamily = 0;
  // Absent when the font has no kerning pairs.
  std::unique_ptr<TmekKerningPairsMap> KerningPairsList;
};
using PmekRefFontInfo = TmekRefFontInfo*;

// The metrics of a reference font scaled to a requested size.
struct TmekFontInfo {
  double tmHeight = 0;
  double tmAscent = 0;
  double tmDescent = 0;
  double tmInternalLeading = 0;
  double tmExternalLeading = 0;
  double tmAveCharWidth = 0;
  double tmMaxCharWidth = 0;
  double tmWeight = 0;
};
using PmekFontInfo = TmekFontInfo*;

class TmekFontRef : public TObject {
  VORN_OBJECT(TmekFontRef, TObject)

 public:
  TmekFontRef() = default;

  // Index of the font's cache entry, created when missing; -1 when no font can serve it.
  static int32_t CreateRefFont(const TFont& Font);
  // The cached entry (null when the font cannot be cached). The pointer stays valid until
  // FreeRefFontList.
  static PmekRefFontInfo GetRefFontMetrics(const TFont& Font);

  // Single metrics of the entry. A font that cannot be cached answers an EM square of 1 and 0.
  static int32_t GetEMSize(const TFont& Font);
  static int32_t GetHeight(const TFont& Font);
  static int32_t GetAscentPart(const TFont& Font);
  static int32_t GetDescentPart(const TFont& Font);
  static int32_t GetInternalLeading(const TFont& Font);
  static int32_t GetExternalLeading(const TFont& Font);

  // Vector bit set and device bit clear.
  static bool IsTTF(const TFont& Font);
  // Vector and device bits both set.
  static bool IsOTF(const TFont& Font);
  static bool IsKerningAvailable(const TFont& Font);
  // The kerning amount of a character pair in font units; 0 for an absent pair and whenever
  // Second is 0.
  static int32_t GetKerningValue(const TFont& Font, uint16_t First, uint16_t Second);

  static int32_t ABCWidthAddition(const TABC& ABC);
  // The ABC extent of a text at the reference size: A of the first character, C of the last and
  // B the rest of the text's width. False (Height 0, zero ABC) for an empty text; false when the
  // font cannot be selected. ABC may be null.
  static bool GetTextABCExtent(const TFont& Font, const QString& Text, int32_t& Height, PABC ABC);
  // The B part of the ABC extent, 0 when it cannot be measured.
  static int32_t GetStandardTextWidth(const TFont& Font, const QString& Text, int32_t& Height);

  // Reference metrics scaled to a size in millimetres on screen (Transform), a size in pixels
  // at DPI (Transform2) or a size in font units (GetNeutralFontMetrics).
  static TmekFontInfo GetFontMetrics(const TFont& Font, double Size);
  static TmekFontInfo GetFontDeviceMetrics(const TFont& Font, double Size, int32_t DPI);
  static TmekFontInfo GetNeutralFontMetrics(const TFont& Font, double Size);
  static TmekFontInfo Transform(const TmekRefFontInfo& Info, double Size);
  // Raises an exception for a resolution that is not positive.
  static TmekFontInfo Transform2(const TmekRefFontInfo& Info, double Size, int32_t DPI);

  static double ConvertToCoordinates(const TFont& Font, double A, double B);
  static double ConvertToFontSize(const TFont& Font, double A, double B);
  static double CoordinatesFontFactor(const TFont& Font, double X);
  static double GetEMSizedTracking(const TFont& Font, double A, double B);
  static double GetFontHeightFromNumHeight(const TFont& Font, double N);

  // The reference logical font: the face name only, thin, upright, outline precision, no
  // antialiasing; the font's size, weight and style are not used.
  static TLogFont CreateLogicalFont(const TFont& Font);
  // Selects the reference font: first at height 0 to read the EM square and italic angle into
  // Info (emSquare stays 1 when the font has no outline metrics), then again at a height of
  // minus the EM square so that one unit is one design unit.
  static TFontHandle GetRefFontHandle(const TFont& Font, TmekRefFontInfo& Info);
  // Measures the font and appends a new entry under the selected face name; its index, or -1.
  static int32_t CreateReferenceFont(const TFont& Font);
  static void FreeRefFontList();

  // The same for a shape font, measured through a platform font assigned from it.
  static int32_t CreateRefFont(const TKxDeShapeFont& Font);
  static PmekRefFontInfo GetRefFontMetrics(const TKxDeShapeFont& Font);
  static int32_t GetEMSize(const TKxDeShapeFont& Font);
  static int32_t GetHeight(const TKxDeShapeFont& Font);
  static int32_t GetAscentPart(const TKxDeShapeFont& Font);
  static int32_t GetDescentPart(const TKxDeShapeFont& Font);
  static int32_t GetInternalLeading(const TKxDeShapeFont& Font);
  static int32_t GetExternalLeading(const TKxDeShapeFont& Font);
  static bool IsTTF(const TKxDeShapeFont& Font);
  static bool IsOTF(const TKxDeShapeFont& Font);
  static bool IsKerningAvailable(const TKxDeShapeFont& Font);
  static int32_t GetKerningValue(const TKxDeShapeFont& Font, uint16_t First, uint16_t Second);
  static bool GetTextABCExtent(const TKxDeShapeFont& Font, const QString& Text, int32_t& Height, PABC ABC);
  static int32_t GetStandardTextWidth(const TKxDeShapeFont& Font, const QString& Text, int32_t& Height);
  static TmekFontInfo GetFontMetrics(const TKxDeShapeFont& Font, double Size);
  static TmekFontInfo GetFontDeviceMetrics(const TKxDeShapeFont& Font, double Size, int32_t DPI);
  static TmekFontInfo GetNeutralFontMetrics(const TKxDeShapeFont& Font, double Size);
  static double ConvertToCoordinates(const TKxDeShapeFont& Font, double A, double B);
  static double ConvertToFontSize(const TKxDeShapeFont& Font, double A, double B);
  static double CoordinatesFontFactor(const TKxDeShapeFont& Font, double X);
  static double GetEMSizedTracking(const TKxDeShapeFont& Font, double A, double B);
  static double GetFontHeightFromNumHeight(const TKxDeShapeFont& Font, double N);
  static TLogFont CreateLogicalFont(const TKxDeShapeFont& Font);
  static int32_t CreateReferenceFont(const TKxDeShapeFont& Font);

  // The cache's current contents.
  static int32_t RefFontCount();
  static QString RefFontName(int32_t Index);

 protected:
  // Freeing an instance frees the whole cache.
  ~TmekFontRef() override;
};

}  // namespace vorn

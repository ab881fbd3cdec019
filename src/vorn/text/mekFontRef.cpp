#include "vorn/text/mekFontRef.h"

#include "vorn/common/Exceptions.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/model/KxDeShapeFont.h"
#include "vorn/text/FontEngine_p.h"

#include <QHash>

#include <memory>
#include <vector>

namespace vorn {
namespace {

struct TRefFontEntry {
  QString Name;
  // Entries made for the same substituted request share one record.
  std::shared_ptr<TmekRefFontInfo> Info;
};

// The cache is a list in creation order. Two hashes keep its lookups constant-time: the first
// entry of each face name, and, for a family that is not installed, the entry made for it, so a
// repeated request copies that entry instead of opening and measuring the substitute again.
struct TRefFontList {
  std::vector<TRefFontEntry> Entries;
  QHash<QString, int32_t> FirstByName;
  QHash<QString, int32_t> MadeFor;

  static QString Key(const QString& Name) { return Name.toCaseFolded(); }

  int32_t Add(const QString& Name, std::shared_ptr<TmekRefFontInfo> Info) {
    const auto index = static_cast<int32_t>(Entries.size());
    Entries.push_back({Name, std::move(Info)});
    const QString key = Key(Name);
    if (!FirstByName.contains(key)) FirstByName.insert(key, index);
    return index;
  }
};

// The class-level cache, created on first use.
std::unique_ptr<TRefFontList>& FontList() {
  static std::unique_ptr<TRefFontList> list;
  return list;
}

// The cache, made when first needed.
TRefFontList& Cache() {
  auto& list = FontList();
  if (!list) list = std::make_unique<TRefFontList>();
  return *list;
}

int32_t IndexOf(const QString& Name) {
  const auto& list = FontList();
  if (!list) return -1;
  return list->FirstByName.value(TRefFontList::Key(Name), -1);
}

// What a font that cannot be cached answers: an EM square of 1 and no metrics.
const TmekRefFontInfo& NoFont() {
  static const TmekRefFontInfo info = [] {
    TmekRefFontInfo i;
    i.emSquare = 1;
    return i;
  }();
  return info;
}

const TmekRefFontInfo& InfoOf(const TFont& Font) {
  const TmekRefFontInfo* info = TmekFontRef::GetRefFontMetrics(Font);
  return info ? *info : NoFont();
}

// The seven size metrics multiplied by Factor over the EM square; the weight is not a size.
TmekFontInfo Scaled(const TmekRefFontInfo& Info, double Factor) {
  const double em = Info.emSquare != 0 ? Info.emSquare : 1;
  TmekFontInfo r;
  r.tmHeight = Info.tmHeight * Factor / em;
  r.tmAscent = Info.tmAscent * Factor / em;
  r.tmDescent = Info.tmDescent * Factor / em;
  r.tmInternalLeading = Info.tmInternalLeading * Factor / em;
  r.tmExternalLeading = Info.tmExternalLeading * Factor / em;
  r.tmAveCharWidth = Info.tmAveCharWidth * Factor / em;
  r.tmMaxCharWidth = Info.tmMaxCharWidth * Factor / em;
  r.tmWeight = Info.tmWeight;
  return r;
}

// The ABC widths of one character at the handle's size.
TABC CharABC(fontengine::TFace& Face, uint32_t Code, double Scale) {
  fontengine::TGlyphMetrics gm;
  TABC abc;
  if (!fontengine::LoadGlyph(Face, Face.GlyphIndex(Code), gm)) {
    abc.abcC = Round32(fontengine::CharAdvance(Face, Code) * Scale);
    return abc;
  }
  abc.abcA = Round32(gm.BearingX * Scale);
  abc.abcB = static_cast<uint32_t>(Round32(gm.Width * Scale));
  abc.abcC = Round32(gm.Advance * Scale) - abc.abcA - static_cast<int32_t>(abc.abcB);
  return abc;
}

}  // namespace

// ---- TFontHandle ------------------------------------------------------------------------------

TFontHandle TFontHandle::Create(const TLogFont& LogFont) {
  TFontHandle h;
  h.FLogFont = LogFont;
  h.FFace = fontengine::OpenFace(LogFont.lfFaceName, LogFont.lfWeight, LogFont.lfItalic != 0);
  if (!h.FFace) return h;
  const double em = h.FFace->UnitsPerEM();
  if (LogFont.lfHeight < 0) {
    h.FScale = -static_cast<double>(LogFont.lfHeight) / em;
  } else if (LogFont.lfHeight > 0) {
    // A positive height is the cell height: ascent plus descent.
    const int32_t cell = fontengine::TextMetrics(*h.FFace, 1.0).Height;
    h.FScale = cell > 0 ? LogFont.lfHeight / static_cast<double>(cell) : 1.0;
  }
  return h;
}

QString TFontHandle::FaceName() const { return FFace ? FFace->FamilyName() : QString(); }

// ---- TmekFontRef ------------------------------------------------------------------------------

TmekFontRef::~TmekFontRef() { FreeRefFontList(); }

TLogFont TmekFontRef::CreateLogicalFont(const TFont& Font) {
  TLogFont lf;
  lf.lfHeight = 0;
  lf.lfWidth = 0;
  lf.lfWeight = FW_THIN;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_OUTLINE_PRECIS;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lf.lfFaceName = Font.Name();
  return lf;
}

TFontHandle TmekFontRef::GetRefFontHandle(const TFont& Font, TmekRefFontInfo& Info) {
  TLogFont lf = CreateLogicalFont(Font);
  TFontHandle handle = TFontHandle::Create(lf);
  Info.emSquare = 1;
  if (handle && fontengine::HasOutlineMetrics(*handle.Face())) {
    Info.emSquare = handle.Face()->UnitsPerEM();
    Info.tmItalicAngle = fontengine::ItalicAngle(*handle.Face());
    lf.lfHeight = -Info.emSquare;
    handle = TFontHandle::Create(lf);
  }
  return handle;
}

int32_t TmekFontRef::CreateReferenceFont(const TFont& Font) {
  TRefFontList& list = Cache();
  const QString requested = TRefFontList::Key(Font.Name());
  if (const int32_t made = list.MadeFor.value(requested, -1); made >= 0) {
    TRefFontEntry copy = list.Entries[static_cast<size_t>(made)];  // Add may move the entries
    return list.Add(copy.Name, std::move(copy.Info));
  }

  auto info = std::make_shared<TmekRefFontInfo>();
  const TFontHandle handle = GetRefFontHandle(Font, *info);
  if (!handle) return -1;
  fontengine::TFace& face = *handle.Face();
  const fontengine::TTextMetrics tm = fontengine::TextMetrics(face, handle.Scale());
  info->tmHeight = tm.Height;
  info->tmAscent = tm.Ascent;
  info->tmDescent = tm.Descent;
  info->tmInternalLeading = tm.InternalLeading;
  info->tmExternalLeading = tm.ExternalLeading;
  info->tmAveCharWidth = tm.AveCharWidth;
  info->tmMaxCharWidth = tm.MaxCharWidth;
  info->tmWeight = tm.Weight;
  info->tmPitchAndFamily = tm.PitchAndFamily;
  // A face name holds at most 31 characters plus its terminator; 31 requested leaves 30.
  const QString faceName = handle.FaceName().left(30);

  const std::vector<fontengine::TKerningPair> pairs = fontengine::KerningPairs(face);
  if (!pairs.empty()) {
    info->KerningPairsList = std::make_unique<TmekKerningPairsMap>();
    // From last to first, so that of two entries for one pair the first in the table stands.
    for (auto it = pairs.rbegin(); it != pairs.rend(); ++it) {
      const int32_t key = static_cast<int32_t>(static_cast<uint32_t>(it->First) << 16 | it->Second);
      (*info->KerningPairsList)[key] = Round32(it->Amount * handle.Scale());
    }
  }

  const int32_t index = list.Add(faceName, std::move(info));
  if (TRefFontList::Key(faceName) != requested) list.MadeFor.insert(requested, index);
  return index;
}

int32_t TmekFontRef::CreateRefFont(const TFont& Font) {
  Cache();
  const int32_t index = IndexOf(Font.Name());
  return index >= 0 ? index : CreateReferenceFont(Font);
}

PmekRefFontInfo TmekFontRef::GetRefFontMetrics(const TFont& Font) {
  const int32_t index = CreateRefFont(Font);
  if (index < 0) return nullptr;
  return FontList()->Entries[static_cast<size_t>(index)].Info.get();
}

void TmekFontRef::FreeRefFontList() { FontList().reset(); }

int32_t TmekFontRef::RefFontCount() {
  const auto& list = FontList();
  return list ? static_cast<int32_t>(list->Entries.size()) : 0;
}

QString TmekFontRef::RefFontName(int32_t Index) {
  const auto& list = FontList();
  if (!list || Index < 0 || Index >= static_cast<int32_t>(list->Entries.size()))
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(Index));
  return list->Entries[static_cast<size_t>(Index)].Name;
}

int32_t TmekFontRef::GetEMSize(const TFont& Font) { return InfoOf(Font).emSquare; }
int32_t TmekFontRef::GetHeight(const TFont& Font) { return InfoOf(Font).tmHeight; }
int32_t TmekFontRef::GetAscentPart(const TFont& Font) { return InfoOf(Font).tmAscent; }
int32_t TmekFontRef::GetDescentPart(const TFont& Font) { return InfoOf(Font).tmDescent; }
int32_t TmekFontRef::GetInternalLeading(const TFont& Font) { return InfoOf(Font).tmInternalLeading; }
int32_t TmekFontRef::GetExternalLeading(const TFont& Font) { return InfoOf(Font).tmExternalLeading; }

bool TmekFontRef::IsTTF(const TFont& Font) {
  const TmekRefFontInfo* info = GetRefFontMetrics(Font);
  if (!info) return false;
  return (info->tmPitchAndFamily & fontengine::TMPF_VECTOR) && !(info->tmPitchAndFamily & fontengine::TMPF_DEVICE);
}

bool TmekFontRef::IsOTF(const TFont& Font) {
  const TmekRefFontInfo* info = GetRefFontMetrics(Font);
  if (!info) return false;
  return (info->tmPitchAndFamily & fontengine::TMPF_VECTOR) && (info->tmPitchAndFamily & fontengine::TMPF_DEVICE);
}

bool TmekFontRef::IsKerningAvailable(const TFont& Font) {
  const TmekRefFontInfo* info = GetRefFontMetrics(Font);
  return info && info->KerningPairsList && !info->KerningPairsList->empty();
}

int32_t TmekFontRef::GetKerningValue(const TFont& Font, uint16_t First, uint16_t Second) {
  if (Second == 0) return 0;
  const TmekRefFontInfo* info = GetRefFontMetrics(Font);
  if (!info || !info->KerningPairsList) return 0;
  const int32_t key = static_cast<int32_t>(static_cast<uint32_t>(First) << 16 | Second);
  const auto it = info->KerningPairsList->find(key);
  return it != info->KerningPairsList->end() ? it->second : 0;
}

int32_t TmekFontRef::ABCWidthAddition(const TABC& ABC) {
  return ABC.abcA + static_cast<int32_t>(ABC.abcB) + ABC.abcC;
}

bool TmekFontRef::GetTextABCExtent(const TFont& Font, const QString& Text, int32_t& Height, PABC ABC) {
  TmekRefFontInfo scratch;
  const TFontHandle handle = GetRefFontHandle(Font, scratch);
  if (Text.isEmpty()) {
    Height = 0;
    if (ABC) *ABC = TABC{};
    return false;
  }
  if (!handle) return false;
  fontengine::TFace& face = *handle.Face();
  const double scale = handle.Scale();
  const QList<uint> codes = Text.toUcs4();
  // The extent is the sum of the advances at the selected size.
  int64_t width = 0;
  for (uint code : codes) width += Round32(fontengine::CharAdvance(face, code) * scale);
  Height = fontengine::TextMetrics(face, scale).Height;
  if (ABC) {
    const TABC first = CharABC(face, codes.first(), scale);
    const TABC last = CharABC(face, codes.last(), scale);
    ABC->abcA = first.abcA;
    ABC->abcC = last.abcC;
    ABC->abcB = static_cast<uint32_t>(static_cast<int32_t>(width) - first.abcA - last.abcC);
  }
  return true;
}

int32_t TmekFontRef::GetStandardTextWidth(const TFont& Font, const QString& Text, int32_t& Height) {
  TABC abc;
  if (!GetTextABCExtent(Font, Text, Height, &abc)) return 0;
  return static_cast<int32_t>(abc.abcB);
}

TmekFontInfo TmekFontRef::Transform(const TmekRefFontInfo& Info, double Size) {
  const double factor = Size * CoordsPixelsPerMMConvertValue / ScreenPixelsPerInch * 72;
  return Scaled(Info, factor);
}

TmekFontInfo TmekFontRef::Transform2(const TmekRefFontInfo& Info, double Size, int32_t DPI) {
  if (DPI <= 0) throw Exception(QStringLiteral("Invalid resolution: %1 dots per inch").arg(DPI));
  const double factor = Size / DPI * 72;
  return Scaled(Info, factor);
}

TmekFontInfo TmekFontRef::GetFontMetrics(const TFont& Font, double Size) { return Transform(InfoOf(Font), Size); }

TmekFontInfo TmekFontRef::GetFontDeviceMetrics(const TFont& Font, double Size, int32_t DPI) {
  return Transform2(InfoOf(Font), Size, DPI);
}

TmekFontInfo TmekFontRef::GetNeutralFontMetrics(const TFont& Font, double Size) {
  return Scaled(InfoOf(Font), Size);
}

double TmekFontRef::ConvertToCoordinates(const TFont& Font, double A, double B) {
  return A * B * CoordsPixelsPerMMConvertValue / InfoOf(Font).emSquare;
}

double TmekFontRef::ConvertToFontSize(const TFont& Font, double A, double B) {
  return A * B / InfoOf(Font).emSquare;
}

double TmekFontRef::CoordinatesFontFactor(const TFont& Font, double X) {
  return X * CoordsPixelsPerMMConvertValue / InfoOf(Font).emSquare;
}

double TmekFontRef::GetEMSizedTracking(const TFont& Font, double A, double B) {
  const TmekRefFontInfo& info = InfoOf(Font);
  return B / A * (info.tmHeight - info.tmInternalLeading);
}

double TmekFontRef::GetFontHeightFromNumHeight(const TFont& Font, double N) {
  const TmekRefFontInfo& info = InfoOf(Font);
  return N * info.tmHeight / (info.tmAscent - info.tmInternalLeading);
}

// ---- shape-font overloads ---------------------------------------------------------------------

namespace {

TFont PlatformFont(const TKxDeShapeFont& Font) {
  TFont f;
  Font.AssignTo(&f);
  return f;
}

}  // namespace

int32_t TmekFontRef::CreateRefFont(const TKxDeShapeFont& Font) { return CreateRefFont(PlatformFont(Font)); }
PmekRefFontInfo TmekFontRef::GetRefFontMetrics(const TKxDeShapeFont& Font) {
  return GetRefFontMetrics(PlatformFont(Font));
}
int32_t TmekFontRef::GetEMSize(const TKxDeShapeFont& Font) { return GetEMSize(PlatformFont(Font)); }
int32_t TmekFontRef::GetHeight(const TKxDeShapeFont& Font) { return GetHeight(PlatformFont(Font)); }
int32_t TmekFontRef::GetAscentPart(const TKxDeShapeFont& Font) { return GetAscentPart(PlatformFont(Font)); }
int32_t TmekFontRef::GetDescentPart(const TKxDeShapeFont& Font) { return GetDescentPart(PlatformFont(Font)); }
int32_t TmekFontRef::GetInternalLeading(const TKxDeShapeFont& Font) { return GetInternalLeading(PlatformFont(Font)); }
int32_t TmekFontRef::GetExternalLeading(const TKxDeShapeFont& Font) { return GetExternalLeading(PlatformFont(Font)); }
bool TmekFontRef::IsTTF(const TKxDeShapeFont& Font) { return IsTTF(PlatformFont(Font)); }
bool TmekFontRef::IsOTF(const TKxDeShapeFont& Font) { return IsOTF(PlatformFont(Font)); }
bool TmekFontRef::IsKerningAvailable(const TKxDeShapeFont& Font) { return IsKerningAvailable(PlatformFont(Font)); }
int32_t TmekFontRef::GetKerningValue(const TKxDeShapeFont& Font, uint16_t First, uint16_t Second) {
  return GetKerningValue(PlatformFont(Font), First, Second);
}
bool TmekFontRef::GetTextABCExtent(const TKxDeShapeFont& Font, const QString& Text, int32_t& Height, PABC ABC) {
  return GetTextABCExtent(PlatformFont(Font), Text, Height, ABC);
}
int32_t TmekFontRef::GetStandardTextWidth(const TKxDeShapeFont& Font, const QString& Text, int32_t& Height) {
  return GetStandardTextWidth(PlatformFont(Font), Text, Height);
}
TmekFontInfo TmekFontRef::GetFontMetrics(const TKxDeShapeFont& Font, double Size) {
  return GetFontMetrics(PlatformFont(Font), Size);
}
TmekFontInfo TmekFontRef::GetFontDeviceMetrics(const TKxDeShapeFont& Font, double Size, int32_t DPI) {
  return GetFontDeviceMetrics(PlatformFont(Font), Size, DPI);
}
TmekFontInfo TmekFontRef::GetNeutralFontMetrics(const TKxDeShapeFont& Font, double Size) {
  return GetNeutralFontMetrics(PlatformFont(Font), Size);
}
double TmekFontRef::ConvertToCoordinates(const TKxDeShapeFont& Font, double A, double B) {
  return ConvertToCoordinates(PlatformFont(Font), A, B);
}
double TmekFontRef::ConvertToFontSize(const TKxDeShapeFont& Font, double A, double B) {
  return ConvertToFontSize(PlatformFont(Font), A, B);
}
double TmekFontRef::CoordinatesFontFactor(const TKxDeShapeFont& Font, double X) {
  return CoordinatesFontFactor(PlatformFont(Font), X);
}
double TmekFontRef::GetEMSizedTracking(const TKxDeShapeFont& Font, double A, double B) {
  return GetEMSizedTracking(PlatformFont(Font), A, B);
}
double TmekFontRef::GetFontHeightFromNumHeight(const TKxDeShapeFont& Font, double N) {
  return GetFontHeightFromNumHeight(PlatformFont(Font), N);
}
TLogFont TmekFontRef::CreateLogicalFont(const TKxDeShapeFont& Font) { return CreateLogicalFont(PlatformFont(Font)); }
int32_t TmekFontRef::CreateReferenceFont(const TKxDeShapeFont& Font) {
  return CreateReferenceFont(PlatformFont(Font));
}

}  // namespace vorn

#include "vorn/text/KxDeStrokes.h"

#include "vorn/common/Exceptions.h"

#include <algorithm>

namespace vorn {

const TKxDeFontStroke* TKxDeStrokes::Items(int32_t I) const {
  if (I < 0 || I >= Count()) return nullptr;
  return FItems[static_cast<size_t>(I)].get();
}

int32_t TKxDeStrokes::Add(std::unique_ptr<TKxDeFontStroke> Stroke) {
  FItems.push_back(std::move(Stroke));
  return Count() - 1;
}

void TKxDeStrokes::ClearStrokes() { FItems.clear(); }

void TKxDeStrokes::EnumStrokes(const TEnumKxDeStrokesCallback& Callback) const {
  if (!Callback) return;
  for (int32_t i = 0; i < Count(); ++i)
    if (!Callback(i, *FItems[static_cast<size_t>(i)])) break;
}

TKxDeFontStroke TKxDeStrokes::GetKxDeFontStroke(int32_t I) const {
  const TKxDeFontStroke* s = Items(I);
  if (!s) throw Exception(QStringLiteral("List index out of bounds (%1)").arg(I));
  return *s;
}

int32_t TKxDeStrokes::GetNumGlyphs() const { return FItems.empty() ? 0 : FItems.back()->GlyphNumber + 1; }

int32_t TKxDeStrokes::StartOfGlyph(int32_t N) const {
  if (N < 0 || N >= GetNumGlyphs()) return -1;
  for (int32_t i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->GlyphNumber == N) return i;
  return -1;
}

int32_t TKxDeStrokes::GlyphNumStrokes(int32_t N) const {
  const int32_t start = StartOfGlyph(N);
  if (start == -1) return -1;
  int32_t next = StartOfGlyph(N + 1);
  if (next == -1) next = Count();
  return next - start;
}

TRectF TKxDeStrokes::GetBounds() const {
  if (FItems.empty()) return TRectF{0, 0, static_cast<float>(BlackBoxX), static_cast<float>(BlackBoxY / 3.0)};
  TRectF r = TRectF::At(FItems.front()->P1);
  for (const auto& s : FItems) r = r.Union(s->P1).Union(s->P2);
  return r;
}

double TKxDeStrokes::GetCellIncX2() const { return FItems.empty() ? BlackBoxX : CellIncX; }

}  // namespace vorn

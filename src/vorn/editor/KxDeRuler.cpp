#include "vorn/editor/KxDeRuler.h"

#include "vorn/common/Canvas.h"
#include "vorn/common/Rounding.h"
#include "vorn/common/Units.h"
#include "vorn/editor/KxDeRulers.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

// Tick lengths in pixels: the zero, every tenth, every second (coarse rulers) and the others.
constexpr int32_t kZeroTick = 16;
constexpr int32_t kLongTick = 10;
constexpr int32_t kMediumTick = 6;
constexpr int32_t kShortTick = 4;
// Above this many pixels per base unit every base unit gets its tick.
constexpr double kFineRuler = 4.4;
// One centimetre or one inch in base units: the numbered distance.
constexpr int32_t kNumbered = 100;

// I modulo 10 (negative below the zero).
int32_t TickLength(int32_t I, bool Fine) {
  if (I == 0) return kLongTick;
  if (!Fine && I % 2 == 0) return kMediumTick;
  return kShortTick;
}

// The multiples i >= 1 of Step (pixels) that may land From..To pixels from the zero; the caller
// checks each rounded position (rounding moves one by less than a pixel).
void StepRange(double From, double To, double Step, int64_t& First, int64_t& Last) {
  First = std::max<int64_t>(1, static_cast<int64_t>(std::floor(From / Step)));
  Last = static_cast<int64_t>(std::floor(To / Step));
}

}  // namespace

double TKxDeRuler::GetStep(double V) const {
  double f = 10;
  if (FOwner && FOwner->Mode() == TKxDeRulerMode::kxrmCm) f = ScreenPixelsPerInch / 254.0;
  else if (FOwner && FOwner->Mode() == TKxDeRulerMode::kxrmInch) f = 0.01 * ScreenPixelsPerInch;
  return f * V;
}

int32_t TKxDeRuler::Division(double U) {
  if (!(U > 0)) return 0;
  if (U > kFineRuler) return 1;
  return U <= 1 ? 50 : 5;
}

void TKxDeRuler::Paint(TCanvas* C, const TRect& R, double Zoom) {
  if (!C || !FOwner || R.IsEmpty()) return;
  const double u = GetStep(Zoom);
  if (!(u > 0) || !std::isfinite(u)) return;
  QPainter* p = C->Painter();
  p->save();
  p->setClipRect(QRect(R.Left, R.Top, R.Width(), R.Height()), Qt::IntersectClip);
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setRenderHint(QPainter::TextAntialiasing, true);
  C->Font()->Assign(*FOwner->Font());
  C->Brush()->SetStyle(TBrushStyle::bsClear);
  DrawRuler(C, R, u);
  p->restore();
}

template <class F>
void TKxDeRuler::ForEachStep(int32_t Zero, int32_t Low, int32_t High, double Step, int32_t Ahead, F&& Do) {
  // Right of (below) the zero, then left of (above) it; Ahead widens the range by what a
  // position may carry beyond its own pixel (a number's width).
  for (const int32_t side : {1, -1}) {
    int64_t first = 0;
    int64_t last = 0;
    if (side > 0) StepRange(Low - Zero - Ahead, High - Zero, Step, first, last);
    else StepRange(Zero - High, Zero - Low + Ahead, Step, first, last);
    for (int64_t i = first; i <= last; ++i) {
      const int32_t at = Zero + side * Round32(static_cast<double>(i) * Step);
      if (at >= Low && at <= High) Do(side * i, at);
    }
  }
}

void TKxDeRuler::DrawRuler(TCanvas* C, const TRect& R, double U) {
  // Positions run along the ruler (x on the horizontal one, y on the vertical one).
  const bool horizontal = FRulerType == TKxDeRulerType::kxdrHorizontal;
  const int32_t low = horizontal ? R.Left : R.Top;
  const int32_t high = horizontal ? R.Right : R.Bottom;
  const int32_t zero = low + FOffset;
  const bool graduated = FOwner->Mode() != TKxDeRulerMode::kxrmPixel;
  const double hundred = kNumbered * U;
  QPainter* p = C->Painter();
  if (FOwner->ShowNumbers() && FOwner->Font()->Color() != clNone) {
    const int32_t h = C->TextHeight(QStringLiteral("0"));
    if (h < hundred && C->TextWidth(QStringLiteral("-000")) < hundred) {
      // Across the top ruler a number starts 2 pixels right of its tick, its line 5 pixels above
      // the bottom edge ("0" 4 pixels higher, beside the zero's long tick); down the left ruler
      // it ends 12 pixels left of the right edge, its top at its tick.
      const int32_t line = R.Bottom - (h + 5);
      auto number = [&](int32_t At, const QString& Text, int32_t Raise) {
        if (horizontal) C->TextOut(At + 2, line - Raise, Text);
        else C->TextOut(R.Right - (C->TextWidth(Text) + 12), At, Text);
      };
      const int32_t shift = horizontal ? 2 : 0;
      if (low < zero + shift && zero + shift < high) number(zero, QStringLiteral("0"), 4);
      if (graduated)
        ForEachStep(zero + shift, low, high, hundred, horizontal ? 0 : h,
                    [&](int64_t I, int32_t At) { number(At - shift, QString::number(I), 0); });
    }
  }
  if (FOwner->MarkColor() != clNone) {
    const QColor mark = ToQColor(FOwner->MarkColor());
    auto tick = [&](int32_t At, int32_t Length) {
      if (horizontal) p->fillRect(At, R.Bottom - Length, 1, Length, mark);
      else p->fillRect(R.Right - Length, At, Length, 1, mark);
    };
    if (low < zero && zero < high) tick(zero, kZeroTick);
    const int32_t k = Division(U);
    if (graduated && k > 0)
      ForEachStep(zero, low, high, k * U, 0,
                  [&](int64_t I, int32_t At) { tick(At, TickLength(static_cast<int32_t>(I % 10), k == 1)); });
  }
  const int32_t pointer = low + FPosition;
  if (FOwner->GuideColor() != clNone && pointer >= low && pointer < high) {
    const QColor guide = ToQColor(FOwner->GuideColor());
    if (horizontal) p->fillRect(pointer, R.Top, 1, R.Height(), guide);
    else p->fillRect(R.Left, pointer, R.Width(), 1, guide);
  }
}

void TKxDeRuler::GetMekOfficeHint(TmekHintInfo& HintInfo) const {
  auto tr = [](const char* Text) { return QCoreApplication::translate("KxDeRulers", Text); };
  HintInfo.Title = tr("Document orientation");
  HintInfo.AddLine(
      QStringLiteral("<BR><IMG src=\"idx:0\"><B><U>%1</U></B><BR>%2<BR><BR><IMG src=\"idx:1\"><B><U>%3</U></B><BR>%4"
                     "<BR><BR><U>%5 </U>%6<BR><BR>%7<BR><BR>%8")
          .arg(tr("Portrait"), tr("This is the 'standard' orientation, dimensions are taken as is."), tr("Landscape"),
               tr("Dimensions are inverted."), tr("Note:"),
               tr("By clicking on the icon, the document will be shown alternatively in portrait or landscape. This "
                  "orientation does not change the print result."),
               tr("Each time you click on the icon, a rotation of 90 degrees will be applied to the document and its "
                  "content."),
               tr("The content of the document will not be rotated if the CTRL key is pressed while clicking.")));
}

}  // namespace vorn

#include "vorn/editor/KxDeSmartSnap_p.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

namespace vorn {

namespace {

// Positions closer than this (world units) are one: what a float sum leaves of an exact snap.
constexpr float kSame = 1e-3f;

// Sorts V by position. A whole page of shapes gives hundreds of thousands of lines: a radix sort
// (three passes of 11 bits over the positions as ordered integers) takes a fraction of a
// comparison sort's time there.
void SortByPosition(std::vector<TKxDeSnapLine>& V) {
  if (V.size() < 512) {
    std::sort(V.begin(), V.end(), [](const TKxDeSnapLine& A, const TKxDeSnapLine& B) { return A.At < B.At; });
    return;
  }
  // Negative floats count down when read as integers: flip them, and the sign bit of the others.
  auto key = [](float F) {
    const auto u = std::bit_cast<uint32_t>(F);
    return u ^ ((u >> 31) != 0 ? 0xFFFFFFFFu : 0x80000000u);
  };
  std::vector<TKxDeSnapLine> scratch(V.size());
  for (int shift = 0; shift < 32; shift += 11) {
    std::array<uint32_t, 2048> start{};
    for (const TKxDeSnapLine& t : V) ++start[(key(t.At) >> shift) & 2047];
    uint32_t sum = 0;
    for (uint32_t& c : start) sum += std::exchange(c, sum);
    for (const TKxDeSnapLine& t : V) scratch[start[(key(t.At) >> shift) & 2047]++] = t;
    V.swap(scratch);
  }
}

}  // namespace

bool TKxDeSmartSnap::TLines::operator==(const TLines& O) const {
  return Count == O.Count && std::equal(Items.begin(), Items.begin() + Count, O.Items.begin());
}

void TKxDeSmartSnap::Reset() {
  FReady = false;
  FX.Targets.clear();
  FY.Targets.clear();
  ClearLines();
  Target = TTarget{};
}

void TKxDeSmartSnap::Begin() {
  Reset();
  Moving = TRectF{};
  HasMoving = false;
}

void TKxDeSmartSnap::AddRect(const TRectF& R, bool Edges, bool Centers) {
  if (Edges) {
    AddX(R.Left, R.Top, R.Bottom);
    AddX(R.Right, R.Top, R.Bottom);
    AddY(R.Top, R.Left, R.Right);
    AddY(R.Bottom, R.Left, R.Right);
  }
  if (Centers) {
    AddX((R.Left + R.Right) / 2, R.Top, R.Bottom);
    AddY((R.Top + R.Bottom) / 2, R.Left, R.Right);
  }
}

void TKxDeSmartSnap::Finish() {
  FX.Finish();
  FY.Finish();
  FReady = true;
}

void TKxDeSmartSnap::TAxis::Finish() {
  SortByPosition(Targets);
  // One target per position, its extent covering every line there.
  size_t n = 0;
  for (const TKxDeSnapLine& t : Targets) {
    if (n > 0 && t.At - Targets[n - 1].At <= kSame) {
      TKxDeSnapLine& m = Targets[n - 1];
      m.From = std::min(m.From, t.From);
      m.To = std::max(m.To, t.To);
    } else {
      Targets[n++] = t;
    }
  }
  Targets.resize(n);
}

TKxDeSmartSnap::TAxisSnap TKxDeSmartSnap::TAxis::Snap(float Lo, float Hi, bool Edges, bool Center, float Reach) const {
  TAxisSnap best;
  float bestDistance = Reach;
  auto nearest = [&](float V) {
    const auto it =
        std::lower_bound(Targets.begin(), Targets.end(), V, [](const TKxDeSnapLine& T, float X) { return T.At < X; });
    // The target at or after V, and the one before it.
    for (auto c = it == Targets.begin() ? it : it - 1; c != Targets.end() && c <= it; ++c) {
      const float d = c->At - V;
      const float a = std::abs(d);
      // Within reach; of equally near targets the first found stays.
      if (a < bestDistance || (!best.Found && a <= bestDistance)) {
        best = TAxisSnap{true, d};
        bestDistance = a;
      }
    }
  };
  if (Targets.empty()) return best;
  if (Edges) {
    nearest(Lo);
    nearest(Hi);
  }
  if (Center) nearest((Lo + Hi) / 2);
  return best;
}

void TKxDeSmartSnap::TAxis::Match(float V, float Lo, float Hi, TLines& Lines) const {
  const auto it = std::lower_bound(Targets.begin(), Targets.end(), V - kSame,
                                   [](const TKxDeSnapLine& T, float X) { return T.At < X; });
  if (it == Targets.end() || it->At > V + kSame || Lines.Count == static_cast<int32_t>(Lines.Items.size())) return;
  Lines.Items[static_cast<size_t>(Lines.Count++)] = TKxDeSnapLine{it->At, std::min(it->From, Lo), std::max(it->To, Hi)};
}

void TKxDeSmartSnap::Match(const TRectF& R, bool Edges, bool Center) {
  ClearLines();
  if (Edges) {
    FX.Match(R.Left, R.Top, R.Bottom, FLinesX);
    if (R.Right != R.Left) FX.Match(R.Right, R.Top, R.Bottom, FLinesX);
    FY.Match(R.Top, R.Left, R.Right, FLinesY);
    if (R.Bottom != R.Top) FY.Match(R.Bottom, R.Left, R.Right, FLinesY);
  }
  if (Center) {
    FX.Match((R.Left + R.Right) / 2, R.Top, R.Bottom, FLinesX);
    FY.Match((R.Top + R.Bottom) / 2, R.Left, R.Right, FLinesY);
  }
}

}  // namespace vorn

#pragma once
// TKxDeSmartSnap: the targets a gesture snaps to, and the alignment lines it reached.
//
// At the start of a gesture the editor hands over, once, the lines the moving shapes may align
// with: the edges and centres of the other shapes in view, of the page and the guides. Each axis
// keeps them as one array sorted by position, equal positions merged into one target whose
// extent across covers them all (the line drawn runs along that extent). Every pointer move then
// asks for the nearest target of at most three values per axis (two edges and a centre), a binary
// search each, and for the lines met where the moving shapes end up: nothing is allocated after
// the gathering.

#include "vorn/common/Records.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vorn {

class TKxDeShapeBase;

// A line of alignment: at position At on one axis, running from From to To along the other (world
// units). A vertical line has its x in At, a horizontal one its y.
struct TKxDeSnapLine {
  float At = 0;
  float From = 0;
  float To = 0;
  bool operator==(const TKxDeSnapLine&) const = default;
};

class TKxDeSmartSnap {
 public:
  // The lines reached on one axis (two edges and a centre at most).
  struct TLines {
    std::array<TKxDeSnapLine, 3> Items;
    int32_t Count = 0;
    bool operator==(const TLines& O) const;
  };
  // One axis's answer: the correction that puts the nearest moving value onto a target.
  struct TAxisSnap {
    bool Found = false;
    float Delta = 0;
  };

  // ---- Gathering, once per gesture --------------------------------------------------------------
  // Forgets the targets and lines of the last gesture (keeping the memory for the next).
  void Reset();
  // Whether the targets of the current gesture were gathered.
  bool Ready() const { return FReady; }
  void Begin();
  // The edges (with Edges) and centre lines (with Centers) of R.
  void AddRect(const TRectF& R, bool Edges, bool Centers);
  // A vertical target at x = X from Top to Bottom; a horizontal one at y = Y from Left to Right.
  void AddX(float X, float Top, float Bottom) { FX.Targets.push_back({X, Top, Bottom}); }
  void AddY(float Y, float Left, float Right) { FY.Targets.push_back({Y, Left, Right}); }
  // Sorts and merges; Ready from now on.
  void Finish();
  // Targets per axis after Finish.
  size_t CountX() const { return FX.Targets.size(); }
  size_t CountY() const { return FY.Targets.size(); }
  // The bounds of what moves, gathered with the targets; HasMoving is False when nothing moves.
  TRectF Moving;
  bool HasMoving = false;
  // Scratch for the gathering.
  std::vector<TKxDeShapeBase*> Scratch;

  // ---- Each pointer move --------------------------------------------------------------------------
  // The smallest correction within Reach that brings a value of the span Lo..Hi onto a target of
  // that axis: both ends with Edges, the middle with Center.
  TAxisSnap SnapX(float Lo, float Hi, bool Edges, bool Center, float Reach) const {
    return FX.Snap(Lo, Hi, Edges, Center, Reach);
  }
  TAxisSnap SnapY(float Lo, float Hi, bool Edges, bool Center, float Reach) const {
    return FY.Snap(Lo, Hi, Edges, Center, Reach);
  }
  // The lines of every target that R's values (as for SnapX) meet, each running across R as well;
  // replaces the lines. Clear forgets them.
  void Match(const TRectF& R, bool Edges, bool Center);
  void ClearLines() { FLinesX.Count = FLinesY.Count = 0; }
  // Vertical lines (x in At) and horizontal ones (y in At).
  const TLines& LinesX() const { return FLinesX; }
  const TLines& LinesY() const { return FLinesY; }
  // The lines the window was last told to show (the editor invalidates what differs).
  TLines ShownX;
  TLines ShownY;

  // ---- The snapped end of a point drag, for the gesture's release -------------------------------
  // Where the drag of point Index of Shape was snapped to on each axis the shapes won.
  struct TTarget {
    const TKxDeShapeBase* Shape = nullptr;
    int32_t Index = -1;
    bool HasX = false, HasY = false;
    TPointF At;
  } Target;

 private:
  struct TAxis {
    std::vector<TKxDeSnapLine> Targets;
    TAxisSnap Snap(float Lo, float Hi, bool Edges, bool Center, float Reach) const;
    // Appends to Lines the target at V (within a rounding error), widened to Lo..Hi across.
    void Match(float V, float Lo, float Hi, TLines& Lines) const;
    void Finish();
  };
  TAxis FX, FY;
  TLines FLinesX, FLinesY;
  bool FReady = false;
};

}  // namespace vorn

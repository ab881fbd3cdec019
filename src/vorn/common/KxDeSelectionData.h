#pragma once
// The two records a shape's selection drawing receives from the editor: how to draw (the pen of
// the outline, the colours and size of the handles, the kind of feedback) and what is being
// dragged (which point, control or point control, and by how much).

#include "vorn/common/Color.h"
#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Records.h"

#include <cstdint>

namespace vorn {

struct TKxDeSelectionData {
  TColor LineColor = 0x00FFA800;
  TPenStyle LineStyle = TPenStyle::psSolid;
  TPenMode LineMode = TPenMode::pmCopy;
  TColor CtrlInColor = 0x0000FFFF;
  TColor CtrlOutColor = 0x00FFA800;
  TColor PointInColor = 0x00FFFFFF;
  TColor PointOutColor = 0x00FFA800;
  TColor RefPointColor = 0x00008000;
  // Handle size in device pixels; 0 draws no handles.
  int32_t PointSize = 5;
  TKxDeSelectionType SelectionType = TKxDeSelectionType::kxdsSelected;
};

// The point, handle or part being dragged, and by how much, for a shape's selection drawing.
struct TKxDeDragPoint {
  // -1: nothing is being dragged.
  int32_t PartIndex = -1;
  int32_t SubIndex = -1;
  TKxDePointType PointType = TKxDePointType::kxptNone;
  // The drag in world units.
  TPointF Offset;
};

}  // namespace vorn

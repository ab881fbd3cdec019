#pragma once
// Vocabulary of the layer manager list: what a point of the list hits. Its events
// (TKxDeLayerManagerDrawEvent, TKxDeLayerManagerEditEvent) are declared with the others in Events.h.

#include "vorn/common/Records.h"

#include <QObject>

#include <cstdint>

namespace vorn {

namespace KxDeLayerManager {
Q_NAMESPACE

// Which part of the layer list a point hits.
enum class TKxDeListHitPart : uint8_t {
  kxdlhNone, kxdlhLayerExpandButton, kxdlhLayerCaption, kxdlhLayerHideButton, kxdlhLayerLockButton,
  kxdlhItem, kxdlhItemHideButton, kxdlhItemLockButton
};
Q_ENUM_NS(TKxDeListHitPart)

}  // namespace KxDeLayerManager

using namespace KxDeLayerManager;

// What lies under a client point of the list. Layer indexes the list layers; Shape indexes the
// listed shapes of that layer (-1 on a caption row). PartRect is the hit row from the left edge of
// the hit part to the row's right edge.
struct TKxDeListHitInfo {
  TPoint Pos{0, 0};
  int32_t Layer = -1;
  int32_t Shape = -1;
  TKxDeListHitPart Part = TKxDeListHitPart::kxdlhNone;
  TRect PartRect{0, 0, 0, 0};
};
using PKxDeListHitInfo = TKxDeListHitInfo*;

// Resets a hit record to "nothing hit".
inline void InitializeItemInfo(TKxDeListHitInfo& Info) { Info = TKxDeListHitInfo{}; }

}  // namespace vorn

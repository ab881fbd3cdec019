#pragma once
// Vocabulary of the layer manager list.

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

}  // namespace vorn

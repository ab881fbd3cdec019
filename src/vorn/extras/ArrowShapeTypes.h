#pragma once
// Vocabulary of the arrow control.

#include <QObject>

#include <cstdint>

namespace vorn {
namespace vornArrowShape {
Q_NAMESPACE

// Which ends of the arrow carry a head.
enum class TvornArrowExtremity : uint8_t { vornaeNone, vornaeLeft, vornaeRight, vornaeBoth };
Q_ENUM_NS(TvornArrowExtremity)

}  // namespace vornArrowShape

using namespace vornArrowShape;

}  // namespace vorn

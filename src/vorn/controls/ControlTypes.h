#pragma once
// Vocabulary of the control base. Its image layout has value names of its own and so stays in
// its namespace: write vorn::KxDEControl::TKxDeImageLayout.

#include <QObject>

#include <cstdint>

namespace vorn {
namespace KxDEControl {
Q_NAMESPACE

enum class TKxDeImageLayout : uint8_t { kxilBottom, kxilLeft, kxilRight, kxilTop };
Q_ENUM_NS(TKxDeImageLayout)

}  // namespace KxDEControl
}  // namespace vorn

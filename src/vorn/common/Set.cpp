#include "vorn/common/Set.h"

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Graphics.h"

#include <vector>

namespace vorn {
namespace {

std::vector<TSetTypeInfo>& SetTypes() {
  static std::vector<TSetTypeInfo> types;
  return types;
}

// The engine's set types, registered once when the library loads (and, for safety, before the
// first lookup).
void RegisterEngineSetTypes() {
  static const bool done = [] {
    RegisterSetType<TFontStyle>("TFontStyles");
    RegisterSetType<TShiftStateItem>("TShiftState");
    RegisterSetType<TKxDeShapeStyle>("TKxDeShapeStyles");
    RegisterSetType<TKxDeShapeState>("TKxDeShapeStates");
    RegisterSetType<TKxDeEditOption>("TKxDeEditOptions");
    RegisterSetType<TKxDeShiftKey>("TKxDeShiftKeys");
    return true;
  }();
  (void)done;
}

[[maybe_unused]] const bool kEngineSetTypesRegistered = (RegisterEngineSetTypes(), true);

}  // namespace

const TSetTypeInfo* FindSetType(QMetaType Type) {
  RegisterEngineSetTypes();
  for (const TSetTypeInfo& info : SetTypes())
    if (info.Type == Type) return &info;
  return nullptr;
}

bool AddSetTypeInfo(const TSetTypeInfo& Info) {
  for (const TSetTypeInfo& info : SetTypes())
    if (info.Type == Info.Type) return false;
  SetTypes().push_back(Info);
  return true;
}

}  // namespace vorn

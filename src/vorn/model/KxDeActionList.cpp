#include "vorn/model/KxDeActionList.h"

namespace vorn {

int32_t TKxDeActionList::Add(TKxDeAction Action, const QString& PropName) {
  FList.push_back(TKxDeActionListRec{Action, PropName});
  return static_cast<int32_t>(FList.size()) - 1;
}

void TKxDeActionList::Clear() {
  FList.clear();
}

bool TKxDeActionList::HaveAction(TKxDeAction Action) const {
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (it->Action == Action) return true;
  return false;
}

bool TKxDeActionList::HavePropName(const QString& PropName) const {
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (it->PropName == PropName) return true;
  return false;
}

}  // namespace vorn

#pragma once
// TKxDeActionList: the actions a shape announced since its outermost update bracket opened.
// Undo logic asks it which actions and properties a compound operation touched.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vorn {

struct TKxDeActionListRec {
  TKxDeAction Action = TKxDeAction::kxacChanging;
  QString PropName;
};

class TKxDeActionList : public TObject {
  VORN_OBJECT(TKxDeActionList, TObject)

 public:
  TKxDeActionList() = default;
  // Public so that a shape can hold its list by value: one allocation less per shape.
  ~TKxDeActionList() override = default;

  // Appends an entry and returns its index.
  int32_t Add(TKxDeAction Action, const QString& PropName);
  // Disposes every entry. The storage is kept: a shape refills its list on every compound operation.
  void Clear();
  bool HaveAction(TKxDeAction Action) const;
  // Exact (case-sensitive) match of the property name.
  bool HavePropName(const QString& PropName) const;

  int32_t Count() const { return static_cast<int32_t>(FList.size()); }
  // The entry at Index; Index must lie in [0, Count).
  const TKxDeActionListRec& Items(int32_t Index) const { return FList[static_cast<size_t>(Index)]; }

 private:
  std::vector<TKxDeActionListRec> FList;
};

}  // namespace vorn

#pragma once
// TKxDeActionList: the actions a shape announced since its outermost update bracket opened.
// Undo logic asks it which actions and properties a compound operation touched.

#include "vorn/common/DrawingCommons.h"
#include "vorn/common/Object.h"

#include <QString>
#include <QVarLengthArray>

#include <cstdint>
#include <vector>

namespace vorn {

// One announced action and the published property it changed (empty when none).
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
  TKxDeActionListRec Items(int32_t Index) const;

 private:
  // Every shape has a list and most hold a few entries, nearly all with an empty or a constant
  // property name: an entry keeps the action and the number of its name in one process-wide
  // table of the names seen (0 is the empty name), and the first entries live in the list itself
  // (a plain shape made in a layer and given four points holds six).
  struct TEntry {
    uint32_t Name;
    TKxDeAction Action;
  };
  static uint32_t NameNumber(const QString& PropName);
  static QString NameOf(uint32_t Number);

  QVarLengthArray<TEntry, 6> FList;
};

}  // namespace vorn

#include "vorn/model/KxDeActionList.h"

#include <QHash>
#include <QList>

#include <mutex>

namespace vorn {

namespace {

// The property names entries refer to. Names are those of properties and operations, a small
// set that is never released.
struct TNameTable {
  std::mutex Lock;
  QList<QString> Names{QString()};
  QHash<QString, uint32_t> Numbers;
};

TNameTable& Names() {
  static TNameTable table;
  return table;
}

}  // namespace

uint32_t TKxDeActionList::NameNumber(const QString& PropName) {
  if (PropName.isEmpty()) return 0;
  TNameTable& t = Names();
  std::lock_guard lock(t.Lock);
  auto it = t.Numbers.constFind(PropName);
  if (it != t.Numbers.constEnd()) return it.value();
  const auto number = static_cast<uint32_t>(t.Names.size());
  t.Names.append(PropName);
  t.Numbers.insert(PropName, number);
  return number;
}

QString TKxDeActionList::NameOf(uint32_t Number) {
  if (Number == 0) return QString();
  TNameTable& t = Names();
  std::lock_guard lock(t.Lock);
  return t.Names.at(static_cast<qsizetype>(Number));
}

int32_t TKxDeActionList::Add(TKxDeAction Action, const QString& PropName) {
  FList.append(TEntry{NameNumber(PropName), Action});
  return static_cast<int32_t>(FList.size()) - 1;
}

void TKxDeActionList::Clear() {
  FList.clear();
}

TKxDeActionListRec TKxDeActionList::Items(int32_t Index) const {
  const TEntry& e = FList[Index];
  return TKxDeActionListRec{e.Action, NameOf(e.Name)};
}

bool TKxDeActionList::HaveAction(TKxDeAction Action) const {
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (it->Action == Action) return true;
  return false;
}

bool TKxDeActionList::HavePropName(const QString& PropName) const {
  // A name never seen is in no list; asking does not add it to the table.
  uint32_t number = 0;
  if (!PropName.isEmpty()) {
    TNameTable& t = Names();
    std::lock_guard lock(t.Lock);
    auto it = t.Numbers.constFind(PropName);
    if (it == t.Numbers.constEnd()) return false;
    number = it.value();
  }
  for (auto it = FList.rbegin(); it != FList.rend(); ++it)
    if (it->Name == number) return true;
  return false;
}

}  // namespace vorn

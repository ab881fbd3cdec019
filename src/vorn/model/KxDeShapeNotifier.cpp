#include "vorn/model/KxDeShapeNotifier.h"

#include "vorn/model/KxDeShapeBase.h"

#include <unordered_map>
#include <vector>

namespace vorn {

// An editor may watch every shape of a large document, and shapes leave it one by one as they
// are destroyed: lookups and removals must not scan. Removed entries leave a hole that keeps the
// registration order of the others; holes are squeezed out when they pile up or an index is read.
struct TKxDeShapeNotifier::TShapeList {
  std::vector<TKxDeShapeBase*> Items;
  std::unordered_map<const TKxDeShapeBase*, size_t> Positions;
  size_t Holes = 0;

  void Append(TKxDeShapeBase* Shape) {
    Positions.emplace(Shape, Items.size());
    Items.push_back(Shape);
  }

  bool Remove(const TKxDeShapeBase* Shape) {
    auto it = Positions.find(Shape);
    if (it == Positions.end()) return false;
    Items[it->second] = nullptr;
    Positions.erase(it);
    ++Holes;
    while (!Items.empty() && Items.back() == nullptr) {
      Items.pop_back();
      --Holes;
    }
    if (Holes > 64 && Holes * 2 > Items.size()) Compact();
    return true;
  }

  void Compact() {
    if (Holes == 0) return;
    size_t out = 0;
    for (TKxDeShapeBase* s : Items) {
      if (!s) continue;
      Items[out] = s;
      Positions[s] = out;
      ++out;
    }
    Items.resize(out);
    Holes = 0;
  }

  TKxDeShapeBase* Last() const { return Items.empty() ? nullptr : Items.back(); }
};

TKxDeShapeNotifier::TKxDeShapeNotifier() = default;

TKxDeShapeNotifier::~TKxDeShapeNotifier() { UnregisterAll(); }

bool TKxDeShapeNotifier::Take(TKxDeShapeBase* Shape) {
  if (!FShapes || !FShapes->Remove(Shape)) return false;
  if (FShapes->Positions.empty()) FShapes.reset();
  return true;
}

void TKxDeShapeNotifier::RegisterShape(TKxDeShapeBase* Shape) {
  if (!Shape || IsWatching(Shape)) return;
  if (!FShapes) FShapes = std::make_unique<TShapeList>();
  FShapes->Append(Shape);
  Shape->RegisterNotifier(this);
}

void TKxDeShapeNotifier::UnregisterShape(TKxDeShapeBase* Shape) {
  if (!Take(Shape)) return;
  Shape->UnregisterNotifier(this);
}

void TKxDeShapeNotifier::UnregisterAll() {
  while (FShapes) {
    TKxDeShapeBase* last = FShapes->Last();
    Take(last);
    last->UnregisterNotifier(this);
  }
}

bool TKxDeShapeNotifier::IsWatching(const TKxDeShapeBase* Shape) const {
  return Shape && FShapes && FShapes->Positions.count(Shape) > 0;
}

void TKxDeShapeNotifier::Changing(TKxDeShapeBase* Shape) {
  if (OnChanging && IsWatching(Shape)) OnChanging(this, Shape);
}

void TKxDeShapeNotifier::Changed(TKxDeShapeBase* Shape) {
  if (OnChange && IsWatching(Shape)) OnChange(this, Shape);
}

void TKxDeShapeNotifier::Destroyed(TKxDeShapeBase* Shape) {
  if (!Take(Shape)) return;
  Shape->UnregisterNotifier(this);
  CallEvent(OnDestroy, this, Shape);
}

int32_t TKxDeShapeNotifier::Count() const {
  return FShapes ? static_cast<int32_t>(FShapes->Positions.size()) : 0;
}

TKxDeShapeBase* TKxDeShapeNotifier::Shapes(int32_t Index) const {
  if (!FShapes || Index < 0 || Index >= Count()) return nullptr;
  FShapes->Compact();
  return FShapes->Items[static_cast<size_t>(Index)];
}

}  // namespace vorn

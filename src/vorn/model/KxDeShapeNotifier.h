#pragma once
// TKxDeShapeNotifier: an observer of any number of shapes. It hears their changing, changed and
// destroyed announcements. Registration is two-way (the shape lists the notifier, the notifier
// lists the shape) and every path that breaks one side breaks the other.

#include "vorn/common/Events.h"
#include "vorn/common/Object.h"

#include <cstdint>
#include <memory>

namespace vorn {

class TKxDeShapeBase;

class TKxDeShapeNotifier : public TObject {
  VORN_OBJECT(TKxDeShapeNotifier, TObject)

 public:
  TKxDeShapeNotifier();

  // Starts watching Shape (nothing for none or a shape already watched).
  void RegisterShape(TKxDeShapeBase* Shape);
  // Stops watching Shape (nothing when it is not watched).
  void UnregisterShape(TKxDeShapeBase* Shape);
  // Stops watching every shape, the last registered first.
  void UnregisterAll();
  bool IsWatching(const TKxDeShapeBase* Shape) const;

  // Called by a watched shape before and after it changes.
  virtual void Changing(TKxDeShapeBase* Shape);
  virtual void Changed(TKxDeShapeBase* Shape);
  // Called by a watched shape that is being destroyed, before its parts are freed.
  virtual void Destroyed(TKxDeShapeBase* Shape);

  int32_t Count() const;
  // The watched shape at Index (registration order), or none outside [0, Count).
  TKxDeShapeBase* Shapes(int32_t Index) const;

  TKxDeShapeEvent OnChanging;
  TKxDeShapeEvent OnChange;
  TKxDeShapeEvent OnDestroy;

 protected:
  ~TKxDeShapeNotifier() override;

 private:
  struct TShapeList;
  // Removes Shape from the list; frees the list when it becomes empty. False when not watched.
  bool Take(TKxDeShapeBase* Shape);

  // Created on the first registration and freed when it becomes empty.
  std::unique_ptr<TShapeList> FShapes;
};

}  // namespace vorn

#pragma once
// TActionScope: the action bracket of one modification held open for a scope. Opening it calls
// StartAction and then NotifyUndo, closing it EndAction, also when the scope ends by an exception;
// each call climbs the owner chain from the announcing shape.
//
//   TActionScope action(this, TKxDeAction::kxacChanging, QStringLiteral("Name"));
//   FName = Value;
//   Changed(false);
//
// Some modifications announce for undo later than they start (inside a notify lock, after the
// owner has heard of an insertion) or not at all in a second bracket: they open the scope with
// TUndoNotice::ByCaller and call NotifyUndo where their order wants it.
//
// The surface announces its own compound operations (grouping, packing) through its hooks of the
// same names: TActionScopeOf<TKxDeSurface> is the same bracket with the surface as announcer.

#include "vorn/model/KxDeShapeBase.h"

#include <QString>

#include <utility>

namespace vorn {

template <class TAnnouncer>
class TActionScopeOf {
 public:
  enum class TUndoNotice : uint8_t { Now, ByCaller };

  // Announcer announces the action of Shape: itself, or a container one of its children's. No
  // announcer announces nothing (a point without a shape).
  TActionScopeOf(TAnnouncer* Announcer, TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName,
                 TUndoNotice Undo = TUndoNotice::Now)
      : FAnnouncer(Announcer), FShape(Shape), FAction(Action), FPropName(PropName) {
    if (!FAnnouncer) return;
    FAnnouncer->StartAction(FShape, FAction, FPropName);
    if (Undo == TUndoNotice::Now) NotifyUndo();
  }
  TActionScopeOf(TKxDeShapeBase* Shape, TKxDeAction Action, const QString& PropName = QString(),
                 TUndoNotice Undo = TUndoNotice::Now)
      : TActionScopeOf(Shape, Shape, Action, PropName, Undo) {}
  // As for the other brackets: an EndAction that throws propagates (see Bracket_p.h).
  ~TActionScopeOf() noexcept(false) { End(); }
  TActionScopeOf(const TActionScopeOf&) = delete;
  TActionScopeOf& operator=(const TActionScopeOf&) = delete;

  void NotifyUndo() const {
    if (FAnnouncer) FAnnouncer->NotifyUndo(FShape, FAction, FPropName);
  }
  // Closes the bracket before the scope ends.
  void End() {
    if (TAnnouncer* announcer = std::exchange(FAnnouncer, nullptr)) announcer->EndAction(FShape, FAction, FPropName);
  }
  // Leaves the bracket open: nothing is closed when the scope ends.
  void Dismiss() { FAnnouncer = nullptr; }

 private:
  TAnnouncer* FAnnouncer;
  TKxDeShapeBase* FShape;
  TKxDeAction FAction;
  QString FPropName;
};

using TActionScope = TActionScopeOf<TKxDeShapeBase>;

}  // namespace vorn

#pragma once
// Event signatures of the engine. An event is a std::function held in a public member named
// On...; an empty one is not called. Parameters passed by reference are in-out: the caller
// initialises them and reads them back after the call.

#include "vorn/common/Consts.h"
#include "vorn/common/GradientPattern.h"
#include "vorn/common/Graphics.h"
#include "vorn/common/Records.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace pugi {
class xml_node;
}

class QImage;

namespace vorn {

class TObject;
class TClass;
class TKxDeShapeBase;
class TKxDeLayer;

using TKxDeShapeClass = const TClass*;
using TXmlNode = pugi::xml_node;

struct TKxDeFontStroke;      // the glyph-outline unit

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TKxDeShapeEvent = std::function<void(TObject* Sender, TKxDeShapeBase* Shape)>;
using TKxDeShapeEvent2 = std::function<void(TObject* Sender, TKxDeShapeBase*& Shape)>;
using TKxDeShapeReorderEvent =
    std::function<void(TObject* Sender, TKxDeLayer* Layer, intptr_t CurIndex, intptr_t NewIndex)>;
using TKxDeNeedNewLayerEvent = std::function<void(TObject* Sender, TKxDeLayer*& Layer)>;
using TKxDeSaveLoadEvent = std::function<void(TObject* Sender, TXmlNode Root)>;
using TKxDeShapeDuringLoadFromXMLEvent = std::function<void(TKxDeShapeBase* Shape)>;
using TKxDeShapeLoadErrorEvent =
    std::function<void(TKxDeShapeBase* Shape, const QString& LogMessage, int32_t ErrorNumber)>;
using TKxDePositionEvent = std::function<void(TObject* Sender, float& x, float& y)>;
using TKxDEOnCursorMoveEvent = std::function<void(TObject* Sender, TPointF Pd, float Zoom)>;
// The standard input events of the controls: widget coordinates, Qt key codes.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TKeyEvent = std::function<void(TObject* Sender, int32_t& Key, TShiftState Shift)>;
using TKxDeMouseWheelZoomEvent = std::function<void(TObject* Sender, int16_t WheelDelta)>;
using TKxDeOnGetMouseCursorEvent = std::function<void(TObject* Sender, TCursor& Cr)>;
using TKxDeOnBeforeCreateNewShape = std::function<void(TObject* Sender, TKxDeShapeClass& AShapeClass)>;
using TKxDeOnPasteCustomClipboardFormats =
    std::function<void(TObject* Sender, uint16_t Format, bool& Continue)>;
using TKxDeCustomGradientEvent =
    std::function<void(TObject* Sender, const TKxDeGradientColors& Colors, QImage& Pattern)>;
using TKxDeLayerManagerDrawEvent = std::function<void(TKxDeShapeBase* AShape, bool& Draw)>;
using TKxDeLayerManagerEditEvent = std::function<void(TKxDeShapeBase* AShape, QString& Text)>;
using TKxDeScrollEvent = std::function<void(TObject* Sender, TKxDeScrollbarKind Kind, int32_t CurPos,
                                            int32_t& ScrollPos, bool& CanScroll)>;
using TKxDeScrollChangeEvent = std::function<void(TObject* Sender, TKxDeScrollbarKind Kind)>;
using TKxDePictureChangedEvent = std::function<void(TObject* Sender, TKxDePictureChangeAction Action)>;

enum class TOperation : uint8_t { opInsert, opRemove };
using TKxDeNotificationEvent = std::function<void(TObject* Sender, TObject* AComponent, TOperation Operation)>;

// Returns false to stop the enumeration.
using TEnumKxDeStrokesCallback = std::function<bool(int32_t Index, const TKxDeFontStroke& Stroke)>;

// An event member for objects that exist by the hundred thousand (a shape, its pen and brush):
// it takes the size of one pointer, and the handler is stored apart only once one is assigned,
// where a std::function member takes 32 bytes whether anyone listens or not. It is assigned,
// tested and called like a std::function.
template <class Signature>
class TSparseEvent;

// The event of signature R(A...).
template <class R, class... A>
class TSparseEvent<R(A...)> {
 public:
  using TFunction = std::function<R(A...)>;

  TSparseEvent() = default;
  TSparseEvent(std::nullptr_t) {}
  TSparseEvent(const TSparseEvent& Other) { *this = Other; }
  TSparseEvent(TSparseEvent&&) noexcept = default;
  template <class Fn>
    requires(!std::is_same_v<std::remove_cvref_t<Fn>, TSparseEvent> && std::is_constructible_v<TFunction, Fn>)
  TSparseEvent(Fn&& Handler) {
    *this = std::forward<Fn>(Handler);
  }

  TSparseEvent& operator=(const TSparseEvent& Other) {
    if (this != &Other) FHandler = Other.FHandler ? std::make_unique<TFunction>(*Other.FHandler) : nullptr;
    return *this;
  }
  TSparseEvent& operator=(TSparseEvent&&) noexcept = default;
  TSparseEvent& operator=(std::nullptr_t) {
    FHandler.reset();
    return *this;
  }
  // An empty handler (a null function pointer, an empty std::function) leaves the event unassigned.
  template <class Fn>
    requires(!std::is_same_v<std::remove_cvref_t<Fn>, TSparseEvent> && std::is_constructible_v<TFunction, Fn>)
  TSparseEvent& operator=(Fn&& Handler) {
    TFunction f(std::forward<Fn>(Handler));
    if (f) FHandler = std::make_unique<TFunction>(std::move(f));
    else FHandler.reset();
    return *this;
  }

  explicit operator bool() const { return FHandler != nullptr; }
  R operator()(A... Args) const { return (*FHandler)(std::forward<A>(Args)...); }
  // The handler as a std::function (empty when none is assigned).
  TFunction Function() const { return FHandler ? *FHandler : TFunction(); }

 private:
  std::unique_ptr<TFunction> FHandler;
};

// Calls an event when it is assigned.
template <class F, class... A>
void CallEvent(const F& Event, A&&... Args) {
  if (Event) Event(std::forward<A>(Args)...);
}

}  // namespace vorn

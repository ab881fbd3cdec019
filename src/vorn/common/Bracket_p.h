#pragma once
// TBracket holds one of an object's counted brackets (BeginUpdate/EndUpdate, a lock and its
// unlock) open for a scope and closes it when the scope ends, also when it ends by an exception:
//
//   using TSurfaceUpdate = TBracket<TKxDeSurface, &TKxDeSurface::BeginUpdate, &TKxDeSurface::EndUpdate>;
//   TSurfaceUpdate update(this);
//
// TCountScope raises a re-entrancy counter for a scope.
//
// The closing step may run a host's hooks: an exception from it propagates like any other. Only
// while another exception is already unwinding the stack would it end the program, as throwing
// from a destructor then does.

#include <cstdint>

namespace vorn {

template <class T, void (T::*Begin)(), void (T::*End)()>
class TBracket {
 public:
  explicit TBracket(T* Object) : FObject(Object) { (FObject->*Begin)(); }
  ~TBracket() noexcept(false) { (FObject->*End)(); }
  TBracket(const TBracket&) = delete;
  TBracket& operator=(const TBracket&) = delete;

 private:
  T* FObject;
};

class TCountScope {
 public:
  explicit TCountScope(int32_t& Counter) : FCounter(Counter) { ++FCounter; }
  ~TCountScope() { --FCounter; }
  TCountScope(const TCountScope&) = delete;
  TCountScope& operator=(const TCountScope&) = delete;

 private:
  int32_t& FCounter;
};

}  // namespace vorn

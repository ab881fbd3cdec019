#pragma once
// TFinally: runs its closing step on every way out of a scope, as try/finally would.

#include <utility>

namespace vorn {

template <class F>
class TFinally {
 public:
  explicit TFinally(F Step) : FStep(std::move(Step)) {}
  ~TFinally() { FStep(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F FStep;
};

}  // namespace vorn

#pragma once
// TFinally: runs its closing step on every way out of a scope, as try/finally would. A closing
// step that throws propagates like any other exception; only while another exception is already
// unwinding the stack would it end the program, as throwing from a destructor then does.

#include <utility>

namespace vorn {

template <class F>
class TFinally {
 public:
  explicit TFinally(F Step) : FStep(std::move(Step)) {}
  ~TFinally() noexcept(false) { FStep(); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

 private:
  F FStep;
};

}  // namespace vorn

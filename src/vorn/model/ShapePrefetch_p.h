#pragma once
// Asking the processor early for what a change of a shape reads. A change of thousands of shapes
// at once (a moved selection) spends most of its time waiting for memory: each shape, its point
// array and its points lie anywhere. A walk over such a list takes the three steps for shapes a
// few places ahead of the one it changes, each step reading only what the step before fetched.

#include "vorn/model/KxDeShapeBase.h"

#include <cstddef>

namespace vorn {

struct TShapePrefetch {
  // The shape's own fields (only addresses: nothing is read).
  static void Object(const TKxDeShapeBase* S) {
    const char* p = reinterpret_cast<const char*>(S);
    for (size_t at = 0; at < sizeof(TKxDeShapeBase); at += kLine) __builtin_prefetch(p + at);
  }
  // The array of its points; reads the shape.
  static void PointArray(const TKxDeShapeBase* S) {
    if (!S->FPoints.empty()) __builtin_prefetch(S->FPoints.data());
  }
  // Its points; reads the array.
  static void Points(const TKxDeShapeBase* S) {
    for (const TKxDePoint* p : S->FPoints) __builtin_prefetch(p);
  }

 private:
  static constexpr size_t kLine = 64;
};

}  // namespace vorn

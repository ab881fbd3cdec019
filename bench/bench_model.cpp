// Document model figures later work must hold: the time of MoveBy on a 10,000-point shape and
// the heap held by one plain four-point shape (with and without its font and picture holder).
//
// Memory is measured two ways over many shapes: the live bytes of operator new (replaced below;
// it sees every C++ allocation of the process, the library's included) and the change of the
// heap's in-use bytes (mallinfo2), which also sees Qt's malloc-based storage and the allocator's
// own per-block overhead.

#include "BenchMain.h"

#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShape.h>
#include <vorn/surface/KxDeSurface.h>

#include <benchmark/benchmark.h>


#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

std::atomic<int64_t> gLiveBytes{0};
std::atomic<int64_t> gLiveBlocks{0};

}  // namespace

void* operator new(std::size_t Size) {
  void* p = std::malloc(Size ? Size : 1);
  if (!p) throw std::bad_alloc();
  gLiveBytes.fetch_add(static_cast<int64_t>(malloc_usable_size(p)), std::memory_order_relaxed);
  gLiveBlocks.fetch_add(1, std::memory_order_relaxed);
  return p;
}

void operator delete(void* Ptr) noexcept {
  if (!Ptr) return;
  gLiveBytes.fetch_sub(static_cast<int64_t>(malloc_usable_size(Ptr)), std::memory_order_relaxed);
  gLiveBlocks.fetch_sub(1, std::memory_order_relaxed);
  std::free(Ptr);
}

void operator delete(void* Ptr, std::size_t) noexcept { operator delete(Ptr); }

namespace {

using namespace vorn;

// MoveBy of a 10,000-point shape lying in a layer of a surface: the full protocol, with the
// owner chain and the surface's entry points on the way.
void BM_MoveBy_10000Points_InLayer(benchmark::State& State) {
  auto* surface = new TKxDeSurface();
  auto* layer = Create<TKxDeLayer>(surface);
  auto* shape = Create<TKxDeShape>(nullptr, layer);
  const int points = static_cast<int>(State.range(0));
  for (int i = 0; i < points; ++i) shape->Add(static_cast<float>(i % 100), static_cast<float>(i / 100));
  float step = 1;
  for (auto _ : State) {
    shape->MoveBy(step, step);
    step = -step;
  }
  State.SetItemsProcessed(State.iterations() * points);
  delete surface;
}
BENCHMARK(BM_MoveBy_10000Points_InLayer)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same shape on its own: the cost of the shape and its points alone.
void BM_MoveBy_10000Points_Alone(benchmark::State& State) {
  auto* shape = Create<TKxDeShape>(nullptr, nullptr);
  const int points = static_cast<int>(State.range(0));
  for (int i = 0; i < points; ++i) shape->Add(static_cast<float>(i % 100), static_cast<float>(i / 100));
  float step = 1;
  for (auto _ : State) {
    shape->MoveBy(step, step);
    step = -step;
  }
  State.SetItemsProcessed(State.iterations() * points);
  Free(shape);
}
BENCHMARK(BM_MoveBy_10000Points_Alone)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Heap held by one plain four-point shape, averaged over many; also the time to make one. With
// Arg 1 every shape also makes its font and picture holder, which shapes otherwise make only
// when they first use them.
void BM_PlainFourPointShape_Memory(benchmark::State& State) {
  const bool withTextAndPicture = State.range(0) != 0;
  const int count = 10000;
  double newBytes = 0, heapBytes = 0, blocks = 0;
  std::vector<TKxDeShape*> shapes;
  shapes.reserve(count);
  for (auto _ : State) {
    const int64_t bytes0 = gLiveBytes.load();
    const int64_t blocks0 = gLiveBlocks.load();
    const size_t heap0 = mallinfo2().uordblks;
    for (int i = 0; i < count; ++i) {
      auto* s = Create<TKxDeShape>(nullptr, nullptr);
      s->Add(0, 0);
      s->Add(10, 0);
      s->Add(10, 10);
      s->Add(0, 10);
      if (withTextAndPicture) {
        s->Font();
        s->Picture();
      }
      shapes.push_back(s);
    }
    const size_t heap1 = mallinfo2().uordblks;
    newBytes = static_cast<double>(gLiveBytes.load() - bytes0) / count;
    blocks = static_cast<double>(gLiveBlocks.load() - blocks0) / count;
    heapBytes = (static_cast<double>(heap1) - static_cast<double>(heap0)) / count;
    State.PauseTiming();
    for (TKxDeShape* s : shapes) Free(s);
    shapes.clear();
    State.ResumeTiming();
  }
  State.counters["new_bytes_per_shape"] = newBytes;
  State.counters["heap_bytes_per_shape"] = heapBytes;
  State.counters["blocks_per_shape"] = blocks;
  State.counters["sizeof_shape"] = sizeof(TKxDeShape);
  State.counters["sizeof_point"] = sizeof(TKxDePoint);
  State.counters["sizeof_brush"] = sizeof(TKxDeShapeBrush);
  State.counters["sizeof_pen"] = sizeof(TKxDeShapePen);
  State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_PlainFourPointShape_Memory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// The figure a document is held to: 100,000 plain four-point shapes in one layer of a surface,
// everything the surface holds for them divided by their number (the surface and the layer
// included, which is noise at this count). The shapes are added inside the surface's update
// bracket, as a document is loaded; the time is that of building the whole document.
void BM_PlainFourPointShape_InLayer_Memory(benchmark::State& State) {
  const int count = static_cast<int>(State.range(0));
  double newBytes = 0, heapBytes = 0, blocks = 0;
  for (auto _ : State) {
    const int64_t bytes0 = gLiveBytes.load();
    const int64_t blocks0 = gLiveBlocks.load();
    const size_t heap0 = mallinfo2().uordblks;
    auto* surface = new TKxDeSurface();
    auto* layer = Create<TKxDeLayer>(surface);
    surface->BeginUpdate();
    for (int i = 0; i < count; ++i) {
      auto* s = Create<TKxDeShape>(nullptr, layer);
      const auto x = static_cast<float>(i % 1000) * 20;
      const auto y = static_cast<float>(i / 1000) * 20;
      s->Add(x, y);
      s->Add(x + 10, y);
      s->Add(x + 10, y + 10);
      s->Add(x, y + 10);
    }
    surface->EndUpdate();
    const size_t heap1 = mallinfo2().uordblks;
    newBytes = static_cast<double>(gLiveBytes.load() - bytes0) / count;
    blocks = static_cast<double>(gLiveBlocks.load() - blocks0) / count;
    heapBytes = (static_cast<double>(heap1) - static_cast<double>(heap0)) / count;
    State.PauseTiming();
    delete surface;
    State.ResumeTiming();
  }
  State.counters["new_bytes_per_shape"] = newBytes;
  State.counters["heap_bytes_per_shape"] = heapBytes;
  State.counters["blocks_per_shape"] = blocks;
  State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_PlainFourPointShape_InLayer_Memory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

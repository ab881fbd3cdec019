// Containers with many children: filling a layer with 100,000 shapes and clearing it (one pass,
// one change to the surface), moving the bottom shape to the top, and walking the tree.

#include "BenchMain.h"

#include <vorn/model/KxDeGroup.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShape.h>
#include <vorn/surface/KxDeSurface.h>

#include <benchmark/benchmark.h>


namespace {

using namespace vorn;

constexpr int kShapes = 100000;

// A surface with one layer; counts the layer changes it is told of.
struct TPage {
  TPage() {
    Surface = new TKxDeSurface();
    Surface->OnLayerChange = [this](TObject*, TKxDeShapeBase*) { ++LayerChanges; };
    Layer = Create<TKxDeLayer>(Surface);
  }
  ~TPage() { delete Surface; }

  void Fill(int Count) {
    for (int i = 0; i < Count; ++i) {
      auto* s = Create<TKxDeShape>(nullptr, Layer);
      s->Add(static_cast<float>(i % 300), static_cast<float>(i / 300));
      s->Add(static_cast<float>(i % 300 + 5), static_cast<float>(i / 300 + 5));
    }
  }

  TKxDeSurface* Surface = nullptr;
  TKxDeLayer* Layer = nullptr;
  int64_t LayerChanges = 0;
};

void BM_FillLayer(benchmark::State& State) {
  const int count = static_cast<int>(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    TPage page;
    State.ResumeTiming();
    page.Fill(count);
    State.PauseTiming();
    page.Layer->Clear();
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_FillLayer)->Arg(kShapes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ClearLayer(benchmark::State& State) {
  const int count = static_cast<int>(State.range(0));
  int64_t changes = 0;
  for (auto _ : State) {
    State.PauseTiming();
    TPage page;
    page.Fill(count);
    page.LayerChanges = 0;
    State.ResumeTiming();
    page.Layer->Clear();
    changes = page.LayerChanges;
  }
  State.counters["layer_changes"] = static_cast<double>(changes);
  State.SetItemsProcessed(State.iterations() * count);
}
BENCHMARK(BM_ClearLayer)->Arg(kShapes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The bottom shape to the top and back: each move shifts every other child once.
void BM_BringToFrontAndBack(benchmark::State& State) {
  TPage page;
  page.Fill(static_cast<int>(State.range(0)));
  for (auto _ : State) {
    TKxDeShapeBase* bottom = page.Layer->Items(0);
    page.Layer->BringToFront(bottom);
    page.Layer->SendToBack(bottom);
  }
}
BENCHMARK(BM_BringToFrontAndBack)->Arg(kShapes)->Unit(benchmark::kMicrosecond);

// Every shape of a layer whose shapes lie in groups of ten, depth-first.
void BM_WalkGroupedLayer(benchmark::State& State) {
  TPage page;
  const int count = static_cast<int>(State.range(0));
  for (int g = 0; g < count / 10; ++g) {
    auto* group = Create<TKxDeGroup>(nullptr, nullptr);
    for (int i = 0; i < 10; ++i) Create<TKxDeShape>(nullptr, group)->Add(static_cast<float>(i), 0);
    page.Layer->InsertShape(group);
  }
  int64_t seen = 0;
  for (auto _ : State) {
    for (TKxDeShapeBase* s : page.Layer->AllShapes()) benchmark::DoNotOptimize(s);
    seen = 0;
    auto e = page.Layer->GetEnumerator(true);
    while (e->MoveNext()) ++seen;
  }
  State.counters["shapes"] = static_cast<double>(seen);
  State.SetItemsProcessed(State.iterations() * seen * 2);
}
BENCHMARK(BM_WalkGroupedLayer)->Arg(kShapes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

// Object inspector figures: binding the tree to a kit shape and building its rows (the view's
// layout included), and switching the tree through 1,000 shapes in a row, whose heap in use
// (mallinfo2) must not grow from one round to the next.

#include "BenchMain.h"

#include <vorn/inspector/mekInspector.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeSurface.h>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

namespace {

using namespace vorn;

// A document of kit shapes of every kind, in a layer of a surface.
struct TDocument {
  std::unique_ptr<TKxDeSurface> Surface = std::make_unique<TKxDeSurface>();
  TKxDeLayer* Layer = Create<TKxDeLayer>(Surface.get());
  std::vector<TKxDeShapeBase*> Shapes;

  explicit TDocument(int Count) {
    for (int i = 0; i < Count; ++i) {
      TKxDeShapeBase* s = nullptr;
      switch (i % 4) {
        case 0: s = Create<TVornText>(Surface.get(), static_cast<TKxDeContainer*>(Layer)); break;
        case 1: s = Create<TVornRectangle>(Surface.get(), static_cast<TKxDeContainer*>(Layer)); break;
        case 2: s = Create<TVornPolyline>(Surface.get(), static_cast<TKxDeContainer*>(Layer)); break;
        default: s = Create<TVornBarcode>(Surface.get(), static_cast<TKxDeContainer*>(Layer)); break;
      }
      s->SetBounds(10.0f * (i % 50), 10.0f * (i / 50), 40, 20);
      Shapes.push_back(s);
    }
  }
};

// Binds the tree and builds every row its open categories show, as the view lays them out.
void BindAndBuild(TmekInspector& Tree, TKxDeShapeBase* Shape) {
  Tree.SetInspComp(Shape);
  Tree.doItemsLayout();
}

void BM_Inspector_BindAndBuildTree(benchmark::State& State) {
  TDocument doc(2);
  TmekInspector tree;
  tree.resize(300, 400);
  int i = 0;
  for (auto _ : State) BindAndBuild(tree, doc.Shapes[i++ % 2]);
  State.counters["rows"] = static_cast<double>(tree.model()->rowCount());
}
BENCHMARK(BM_Inspector_BindAndBuildTree)->Unit(benchmark::kMillisecond);

// The same with the first paint of the tree.
void BM_Inspector_BindBuildAndPaint(benchmark::State& State) {
  TDocument doc(2);
  TmekInspector tree;
  tree.resize(300, 400);
  QImage image(300, 400, QImage::Format_ARGB32_Premultiplied);
  int i = 0;
  for (auto _ : State) {
    BindAndBuild(tree, doc.Shapes[i++ % 2]);
    tree.render(&image);
  }
}
BENCHMARK(BM_Inspector_BindBuildAndPaint)->Unit(benchmark::kMillisecond);

// 1,000 shapes in a row per iteration, each with its gradient or font opened where it has one.
// heap_growth_bytes: heap in use after the last round minus after the first.
void BM_Inspector_Switch1000Shapes(benchmark::State& State) {
  TDocument doc(1000);
  TmekInspector tree;
  tree.resize(300, 400);
  const auto round = [&] {
    for (TKxDeShapeBase* s : doc.Shapes) {
      BindAndBuild(tree, s);
      const QModelIndex gradient = tree.FindNode(QStringLiteral("Appearance/Gradient"));
      if (gradient.isValid()) tree.expand(gradient);
    }
  };
  round();
  const size_t before = mallinfo2().uordblks;
  for (auto _ : State) round();
  const size_t after = mallinfo2().uordblks;
  State.counters["heap_growth_bytes"] = static_cast<double>(after) - static_cast<double>(before);
  State.counters["shapes_per_s"] = benchmark::Counter(1000.0 * State.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Inspector_Switch1000Shapes)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

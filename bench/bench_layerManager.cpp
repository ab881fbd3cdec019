// The layer manager beside an editor holding 100,000 rectangles and ellipses (the document of
// bench_surface and bench_editor), with thumbnails on:
//
// - attaching the list to the editor: every row built and the first screen painted (target:
//   100 ms);
// - scrolling from the top to the last row with the bar's "bottom" message, and painting that
//   screen (target: 100 ms);
// - one shape on screen moved: the list paints its row again without building any row, the editor
//   its own change (target: far below the attach; the counter "x_attach" is the ratio). Argument 0
//   is the editor alone, argument 1 the editor with the list following it.

#include "BenchFigures.h"
#include "BenchMain.h"

#include <vorn/editor/KxDeEditor.h>
#include <vorn/layermanager/KxDeLayerManager.h>

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>

using namespace vorn;
using namespace vornbench;

namespace {

using TClock = std::chrono::steady_clock;
double Since(TClock::time_point T) { return std::chrono::duration<double>(TClock::now() - T).count(); }

// The editor with the document and the list beside it, both shown off screen.
struct TBench {
  TKxDeEditor Editor;
  TKxDeLayerManager List;
  TKxDeLayer* Layer;

  TBench() : Layer(Create<TKxDeLayer>(static_cast<TKxDeSurface*>(&Editor))) {
    Editor.Layer()->SetBounds(static_cast<int32_t>(kWorld), static_cast<int32_t>(kWorld));
    AddFigures(Layer);
    for (QWidget* w : {static_cast<QWidget*>(&Editor), static_cast<QWidget*>(&List)}) {
      w->setAttribute(Qt::WA_DontShowOnScreen);
      w->show();
    }
    Editor.resize(1000, 800);
    List.resize(260, 800);
    QApplication::processEvents();
  }
  static TBench& Get() {
    static TBench* bench = new TBench();  // left to the process's end
    return *bench;
  }
};

double gAttachSeconds = 0;

void BM_LayerManager_Attach100000(benchmark::State& State) {
  TBench& b = TBench::Get();
  for (auto _ : State) {
    b.List.SetEditor(nullptr);
    const auto t = TClock::now();
    b.List.SetEditor(&b.Editor);
    b.List.repaint();
    State.SetIterationTime(Since(t));
  }
  gAttachSeconds = 0;
  b.List.SetEditor(nullptr);
  for (int i = 0; i < 3; ++i) {
    const auto t = TClock::now();
    b.List.SetEditor(&b.Editor);
    b.List.repaint();
    gAttachSeconds += Since(t) / 3;
    b.List.SetEditor(nullptr);
  }
  b.List.SetEditor(&b.Editor);
  State.counters["rows"] = b.List.GetVisibleItemCount();
}
BENCHMARK(BM_LayerManager_Attach100000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LayerManager_ScrollToEnd(benchmark::State& State) {
  TBench& b = TBench::Get();
  if (b.List.Editor() != &b.Editor) b.List.SetEditor(&b.Editor);
  TKxDeCustomControlScrollbar* bar = b.List.Scrollbar(TKxDeScrollbarKind::kxdskVertical);
  for (auto _ : State) {
    b.List.SetTopPosition(0);
    b.List.repaint();
    const auto t = TClock::now();
    bar->ScrollMessage(SB_BOTTOM);
    b.List.repaint();
    State.SetIterationTime(Since(t));
  }
  State.counters["top"] = b.List.TopPosition();
  State.counters["last_top"] = b.List.GetVScrollCount();
}
BENCHMARK(BM_LayerManager_ScrollToEnd)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LayerManager_OneShapeChanged(benchmark::State& State) {
  TBench& b = TBench::Get();
  b.List.SetEditor(State.range(0) ? &b.Editor : nullptr);
  b.List.SetTopPosition(0);
  b.List.repaint();
  // The first item row on screen; the editor and the list repaint what the change asked for.
  TKxDeShapeBase* shape = b.Layer->GetItem(0);
  float dx = 1;
  double total = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    shape->MoveBy(dx, 0);
    QApplication::processEvents();
    const double s = Since(t);
    State.SetIterationTime(s);
    total += s;
    dx = -dx;
  }
  b.List.SetEditor(&b.Editor);
  if (gAttachSeconds > 0) State.counters["x_attach"] = total / static_cast<double>(State.iterations()) / gAttachSeconds;
}
BENCHMARK(BM_LayerManager_OneShapeChanged)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

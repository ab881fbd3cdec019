// The surface beside Qt's graphics view framework on the same 100,000 rectangles and ellipses:
// QGraphicsScene with its default BSP index and with NoIndex.
//
// - hover hit test at random points: the surface's hit test through its spatial index, against
//   QGraphicsScene::itemAt;
// - building the document (inserting 100,000 shapes, then the first hit test, which makes the
//   index) against building the scene (adding the items, then the first itemAt);
// - a full repaint of a 1600 x 1000 view (the surface's buffers made anew) against
//   QGraphicsScene::render of the same view, and the repaint after one shape moved;
// - moving 10,000 shapes in one gesture and then one hit test (the index catches up lazily)
//   against moving 10,000 items and one itemAt.
// Each engine figure carries counters with its ratio to the scene's figures measured before it in
// the same run ("x_bsp", "x_noindex"), so the benchmarks are meant to run in the order written.
//
// The memory of 100,000 plain four-point shapes in a layer, with and without the index, is the
// heap's in-use bytes (mallinfo2) per shape.

#include "BenchFigures.h"
#include "BenchMain.h"
#include "../tests/surface/IndexedSurface.h"

#include <vorn/model/KxDePoint.h>
#include <vorn/model/KxDeShape.h>
#include <vorn/model/KxDeShapeBrush.h>
#include <vorn/model/KxDeShapePen.h>
#include <vorn/shapes/VornShapes.h>
#include <vorn/surface/KxDeSurface.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsEllipseItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <malloc.h>

#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace vorn;
using namespace vornbench;
using vorn::test::TIndexedSurface;

namespace {

constexpr int kMoved = 10000;

const std::vector<QPointF>& HoverPoints() {
  static const std::vector<QPointF> points = [] {
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> place(0, kWorld);
    std::vector<QPointF> p(4096);
    for (QPointF& q : p) q = QPointF(place(random), place(random));
    return p;
  }();
  return points;
}

// Seconds per iteration of each figure measured so far in this run, for the ratios.
std::map<std::string, double>& Measured() {
  static std::map<std::string, double> m;
  return m;
}

void Record(benchmark::State& State, const std::string& Name, double Seconds) {
  const double each = Seconds / static_cast<double>(State.iterations());
  Measured()[Name] = each;
  State.counters["us_each"] = each * 1e6;
}

void Compare(benchmark::State& State, const std::string& Bsp, const std::string& NoIndex, double Seconds) {
  const double each = Seconds / static_cast<double>(State.iterations());
  State.counters["us_each"] = each * 1e6;
  if (Measured().count(Bsp)) State.counters["x_bsp"] = each / Measured()[Bsp];
  if (Measured().count(NoIndex)) State.counters["x_noindex"] = each / Measured()[NoIndex];
}

using TClock = std::chrono::steady_clock;
double Since(TClock::time_point T) { return std::chrono::duration<double>(TClock::now() - T).count(); }

// ---- The two documents ------------------------------------------------------------------------------

struct TEngineDocument {
  std::unique_ptr<TIndexedSurface> Surface = std::make_unique<TIndexedSurface>();
  TKxDeLayer* Layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(Surface.get()));

  TEngineDocument() { AddFigures(Layer); }
  TKxDeShapeBase* HitTest(const QPointF& P) {
    return Surface->Index().HitShape(Surface->Layers(), TPointF{static_cast<float>(P.x()), static_cast<float>(P.y())});
  }
};

struct TScene {
  QGraphicsScene Scene;
  std::vector<QGraphicsItem*> Items;

  explicit TScene(QGraphicsScene::ItemIndexMethod Method) {
    Scene.setItemIndexMethod(Method);
    AddFigures(Scene, Items);
  }
  QGraphicsItem* HitTest(const QPointF& P) { return Scene.itemAt(P, QTransform()); }
};

// Built once, on first use, for the queries.
TEngineDocument& Engine() {
  static TEngineDocument* d = new TEngineDocument();  // left to the process's end
  return *d;
}
TScene& Scene(QGraphicsScene::ItemIndexMethod Method) {
  static std::map<int, TScene*> scenes;
  TScene*& s = scenes[Method];
  if (!s) s = new TScene(Method);
  return *s;
}

// ---- Hover hit test ---------------------------------------------------------------------------------

template <class Document>
double Hover(benchmark::State& State, Document& D) {
  const auto& points = HoverPoints();
  // The index is made on the first question; the scene finishes its own on the event loop.
  D.HitTest(points[0]);
  QCoreApplication::processEvents();
  size_t i = 0, hits = 0;
  const auto t = TClock::now();
  for (auto _ : State) {
    auto* hit = D.HitTest(points[i++ % points.size()]);
    hits += hit != nullptr;
    benchmark::DoNotOptimize(hit);
  }
  const double seconds = Since(t);
  State.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(State.iterations());
  return seconds;
}

void BM_Hover_SceneBsp(benchmark::State& State) {
  Record(State, "hover_bsp", Hover(State, Scene(QGraphicsScene::BspTreeIndex)));
}
void BM_Hover_SceneNoIndex(benchmark::State& State) {
  Record(State, "hover_noindex", Hover(State, Scene(QGraphicsScene::NoIndex)));
}
void BM_Hover_Surface(benchmark::State& State) { Compare(State, "hover_bsp", "hover_noindex", Hover(State, Engine())); }
// The index's share of the hover: the candidates at the point, without asking the shapes.
void BM_Hover_IndexCandidates(benchmark::State& State) {
  TKxDeLayerIndex& index = Engine().Surface->Index().ForLayer(Engine().Layer);
  std::vector<TKxDeShapeBase*> c;
  size_t i = 0, n = 0;
  for (auto _ : State) {
    const QPointF& p = HoverPoints()[i++ % HoverPoints().size()];
    index.ItemsAt(TPointF{static_cast<float>(p.x()), static_cast<float>(p.y())}, 0, c);
    n += c.size();
  }
  State.counters["candidates"] = static_cast<double>(n) / static_cast<double>(State.iterations());
}
BENCHMARK(BM_Hover_IndexCandidates)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hover_SceneBsp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Hover_SceneNoIndex)->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(BM_Hover_Surface)->Unit(benchmark::kMicrosecond);

// ---- Building ---------------------------------------------------------------------------------------

void BM_Build_SceneBsp(benchmark::State& State) {
  double seconds = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    auto* s = new TScene(QGraphicsScene::BspTreeIndex);
    s->HitTest(HoverPoints()[0]);
    seconds += Since(t);
    State.PauseTiming();
    delete s;
    State.ResumeTiming();
  }
  Record(State, "build_bsp", seconds);
}
void BM_Build_Surface(benchmark::State& State) {
  double seconds = 0, index = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    auto* d = new TEngineDocument();
    const auto i = TClock::now();
    d->HitTest(HoverPoints()[0]);
    index += Since(i);
    seconds += Since(t);
    State.PauseTiming();
    delete d;
    State.ResumeTiming();
  }
  Compare(State, "build_bsp", "", seconds);
  State.counters["index_ms_each"] = index / static_cast<double>(State.iterations()) * 1e3;
}
// The index alone, made anew from the layer's 100,000 items.
void BM_Build_IndexAlone(benchmark::State& State) {
  TKxDeLayerIndex& index = Engine().Surface->Index().ForLayer(Engine().Layer);
  for (auto _ : State) {
    index.Invalidate();
    benchmark::DoNotOptimize(index.Count());
  }
}
BENCHMARK(BM_Build_SceneBsp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Build_Surface)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Build_IndexAlone)->Unit(benchmark::kMillisecond);

// ---- Moving many shapes, then one question ---------------------------------------------------------

void BM_Move10000ThenHitTest_SceneBsp(benchmark::State& State) {
  TScene& s = Scene(QGraphicsScene::BspTreeIndex);
  double dy = 7, seconds = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    for (int i = 0; i < kShapes; i += kShapes / kMoved) s.Items[static_cast<size_t>(i)]->moveBy(0, dy);
    benchmark::DoNotOptimize(s.HitTest(HoverPoints()[1]));
    seconds += Since(t);
    dy = -dy;
  }
  Record(State, "move_bsp", seconds);
}
// Also with one and with 1,000 shapes moved: fewer than one item in sixteen are put back into the
// tree one by one instead of packing it anew.
void BM_MoveThenHitTest_Surface(benchmark::State& State) {
  TEngineDocument& d = Engine();
  const auto moved = static_cast<int>(State.range(0));
  float dy = 7;
  double seconds = 0, query = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    for (int i = 0; i < kShapes; i += kShapes / moved) d.Layer->Items(i)->MoveBy(0, dy);
    const auto q = TClock::now();
    benchmark::DoNotOptimize(d.HitTest(HoverPoints()[1]));
    query += Since(q);
    seconds += Since(t);
    dy = -dy;
  }
  if (moved == kMoved) Compare(State, "move_bsp", "", seconds);
  // The question's share: the index catching up with the moves.
  State.counters["catch_up_us_each"] = query / static_cast<double>(State.iterations()) * 1e6;
}
BENCHMARK(BM_Move10000ThenHitTest_SceneBsp)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_MoveThenHitTest_Surface)->Arg(kMoved)->Arg(1000)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- Painting ---------------------------------------------------------------------------------------

// A 1600 x 1000 view of the middle of the world, smoothed edges on both sides.
const QRectF kView(9000, 9000, 1600, 1000);

// The engine's surface showing that view: client area 1600 x 1000, no bars, no indent.
TEngineDocument& PaintedEngine() {
  TEngineDocument& d = Engine();
  static const bool ready = [&d] {
    TKxDeSurface* s = d.Surface.get();
    s->SetShowScrollbars(false);
    s->SetIndent(0);
    const TRect c = s->GetClientRect();
    s->resize(s->width() - c.Width() + static_cast<int>(kView.width()),
              s->height() - c.Height() + static_cast<int>(kView.height()));
    s->Layer()->SetBounds(static_cast<int32_t>(kWorld), static_cast<int32_t>(kWorld));
    s->SetLayerOffset(-static_cast<int32_t>(kView.left()), -static_cast<int32_t>(kView.top()));
    s->GetClientCanvas();
    return true;
  }();
  (void)ready;
  return d;
}

// The share of an image's pixels in the two fill colours of the shapes: alike on both sides when
// both paint the same shapes of the view.
double FillShare(const QImage& Image) {
  const QImage image = Image.convertToFormat(QImage::Format_RGB32);
  const QRgb orange = qRgb(0xFF, 0xA0, 0x00), blue = qRgb(0x00, 0x80, 0xFF);
  int64_t n = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) n += (line[x] | 0xFF000000u) == orange || (line[x] | 0xFF000000u) == blue;
  }
  return static_cast<double>(n) / (static_cast<double>(image.width()) * image.height());
}

void SceneRepaint(benchmark::State& State, QGraphicsScene::ItemIndexMethod Index, const std::string& Name) {
  TScene& s = Scene(Index);
  QImage image(kView.size().toSize(), QImage::Format_RGB32);
  s.HitTest(HoverPoints()[0]);
  QCoreApplication::processEvents();
  auto render = [&] {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), Qt::white);
    s.Scene.render(&p, QRectF(QPointF(0, 0), kView.size()), kView);
  };
  // The first rendering also finishes the scene's index: not counted.
  render();
  State.counters["fill_share"] = FillShare(image);
  const auto t = TClock::now();
  for (auto _ : State) render();
  Record(State, Name, Since(t));
}
void BM_Repaint_SceneBsp(benchmark::State& State) {
  SceneRepaint(State, QGraphicsScene::BspTreeIndex, "repaint_bsp");
}
void BM_Repaint_SceneNoIndex(benchmark::State& State) {
  SceneRepaint(State, QGraphicsScene::NoIndex, "repaint_noindex");
}
// Everything painted anew: page, shapes of the view, the client area composed.
void BM_Repaint_Surface(benchmark::State& State) {
  TKxDeSurface* s = PaintedEngine().Surface.get();
  s->RefreshBuffers(true, false);
  State.counters["fill_share"] = FillShare(s->ClientBufferImage());
  const auto t = TClock::now();
  for (auto _ : State) {
    s->RefreshBuffers(true, false);
    benchmark::DoNotOptimize(s->GetClientCanvas());
  }
  Compare(State, "repaint_bsp", "repaint_noindex", Since(t));
}
// One shape in the view moved: the buffers brought up to date (only its area is painted again).
void BM_RepaintAfterMove_Surface(benchmark::State& State) {
  TEngineDocument& d = PaintedEngine();
  TKxDeShapeBase* shape = nullptr;
  std::vector<TKxDeShapeBase*> inView;
  d.Surface->Index().ForLayer(d.Layer).ItemsIn(
      TRectF{static_cast<float>(kView.left() + 400), static_cast<float>(kView.top() + 300),
             static_cast<float>(kView.left() + 500), static_cast<float>(kView.top() + 400)},
      inView);
  if (!inView.empty()) shape = inView.front();
  if (!shape) {
    State.SkipWithError("no shape in the view");
    return;
  }
  float dx = 5;
  const auto t = TClock::now();
  for (auto _ : State) {
    shape->MoveBy(dx, 0);
    benchmark::DoNotOptimize(d.Surface->GetClientCanvas());
    dx = -dx;
  }
  Record(State, "repaint_move", Since(t));
}
BENCHMARK(BM_Repaint_SceneBsp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint_SceneNoIndex)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Repaint_Surface)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintAfterMove_Surface)->Unit(benchmark::kMicrosecond);

// ---- Memory -----------------------------------------------------------------------------------------

// 100,000 plain four-point shapes in a layer of a surface: the heap they hold, then what the index
// adds once it is made.
void BM_Memory_PlainShapes(benchmark::State& State) {
  for (auto _ : State) {
    const size_t heap0 = mallinfo2().uordblks;
    auto surface = std::make_unique<TIndexedSurface>();
    TKxDeLayer* layer = Create<TKxDeLayer>(static_cast<TKxDeSurface*>(surface.get()));
    for (const TFigure& f : Figures()) {
      auto* s = Create<TKxDeShape>(nullptr, layer);
      s->Add(f.X, f.Y);
      s->Add(f.X + f.W, f.Y);
      s->Add(f.X + f.W, f.Y + f.H);
      s->Add(f.X, f.Y + f.H);
    }
    const size_t heap1 = mallinfo2().uordblks;
    surface->Index().HitShape(surface->Layers(), TPointF{1, 1});
    const size_t heap2 = mallinfo2().uordblks;
    State.counters["model_bytes_per_shape"] = static_cast<double>(heap1 - heap0) / kShapes;
    State.counters["index_bytes_per_shape"] = static_cast<double>(heap2 - heap1) / kShapes;
    State.counters["total_bytes_per_shape"] = static_cast<double>(heap2 - heap0) / kShapes;
    // Where the model's bytes go, for the savings worth having.
    TKxDeShapeBase* first = layer->Items(0);
    State.counters["sizeof_shape"] = sizeof(TKxDeShape);
    State.counters["sizeof_point"] = sizeof(TKxDePoint);
    State.counters["heap_point"] = static_cast<double>(malloc_usable_size(first->Points(0)));
    State.counters["heap_shape"] = static_cast<double>(malloc_usable_size(dynamic_cast<void*>(first)));
    State.counters["actions_kept"] = first->ActionList()->Count();
    State.counters["sizeof_transform"] = sizeof(QTransform);
    State.counters["sizeof_brush"] = sizeof(TKxDeShapeBrush);
    State.counters["sizeof_pen"] = sizeof(TKxDeShapePen);
  }
}
BENCHMARK(BM_Memory_PlainShapes)->Unit(benchmark::kMillisecond)->Iterations(1);

// The scene's items for comparison (the same rectangles and ellipses, BSP index made).
void BM_Memory_SceneBsp(benchmark::State& State) {
  for (auto _ : State) {
    const size_t heap0 = mallinfo2().uordblks;
    auto* s = new TScene(QGraphicsScene::BspTreeIndex);
    s->HitTest(HoverPoints()[0]);
    State.counters["bytes_per_item"] = static_cast<double>(mallinfo2().uordblks - heap0) / kShapes;
    delete s;
  }
}
BENCHMARK(BM_Memory_SceneBsp)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  RegisterVornShapes();
  return RunVornBenchmarks(argc, argv);
}

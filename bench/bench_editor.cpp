// The editor's gestures on 100,000 rectangles and ellipses (the document of bench_surface):
//
// - one hover MouseMove over the view at zoom 100: the hit case and the hot shape, then the
//   repaint that shows the hot outline (target: 1 ms);
// - a rubber band over a tenth of the page at zoom 5 that selects about 10,000 shapes: press,
//   two moves, release (SelectIn), then the repaint that shows their handles (target: 20 ms);
// - moving 10,000 selected shapes by one drag at zoom 100 (press on one of them, two moves,
//   release: one surface update, no undo recorded), beside moving the same 10,000 items of a
//   QGraphicsScene (BSP index) and asking it one itemAt, as the scene finishes its index lazily
//   and the editor asks its own at the release to choose the hot shape (target: half the scene's
//   time; the ratio is the counter "x_scene"). Argument 0 moves the shapes of the band, lying
//   together; argument 1 every tenth shape, spread over the page.
// - the same move recorded for undo, then undone and redone, beside a QGraphicsScene whose move
//   is a QUndoCommand on a QUndoStack keeping each item's old and new position (target: half the
//   peer's time for the recorded move and for undo + redo; counters "x_scene_move" and
//   "x_scene_undo_redo");
// - the undo history's memory after 1,000 moves of one shape each (counter "bytes_per_entry");
// - a move of one shape with smart guides on: each mouse move snaps the shape to the others in
//   view and repaints the outline and the alignment lines (target: 2 ms per move). Argument 0 at
//   zoom 100 (a few hundred shapes in view), 1 the whole page at zoom 5 (all 100,000 in view); the
//   counter "gather_ms" is the gesture's first move, which gathers the targets from the index.
// The benchmarks are meant to run in the order written: the move is compared with the scene's
// figure measured before it.

#include "BenchFigures.h"
#include "BenchMain.h"

#include <vorn/editor/KxDeEditor.h>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QTest>
#include <QUndoStack>

#include <malloc.h>

#include <chrono>
#include <memory>
#include <random>
#include <vector>

using namespace vorn;
using namespace vornbench;

namespace {

// The band: a tenth of the page's height across its whole width, holding the view of the move.
const TRectF kBand{-100, 9000, kWorld + 100, 9000 + kWorld / 10};
// The view of the hover and the move: 1600 x 1000 client pixels at (9000, 9000).
constexpr int kViewW = 1600, kViewH = 1000;
constexpr int kViewX = 9000, kViewY = 9000;

using TClock = std::chrono::steady_clock;
double Since(TClock::time_point T) { return std::chrono::duration<double>(TClock::now() - T).count(); }

// The editor with the document, shown without bars or indent.
class TBenchEditor : public TKxDeEditor {
 public:
  TBenchEditor() {
    SetShowScrollbars(false);
    SetIndent(0);
    BorderProps()->SetBorder(TKxDeBorder::kxdcbNone);
    // Moves go exactly where the pointer goes.
    SetEditOptions(EditOptions() - TKxDeEditOption::kxdoSnapToGrid);
    resize(kViewW, kViewH);
    Layer()->SetBounds(static_cast<int32_t>(kWorld), static_cast<int32_t>(kWorld));
    AddFigures(Create<TKxDeLayer>(static_cast<TKxDeSurface*>(this)));
    setAttribute(Qt::WA_DontShowOnScreen);
    show();
  }
  // Zoom 100 with the view's corner at (kViewX, kViewY), or the whole page at zoom 5.
  void ShowView() { Frame(100, -kViewX, -kViewY); }
  void ShowPage() { Frame(5, 0, 0); }
  QPoint At(float X, float Y) const {
    const TPointF p = LayerToScreen(TPointF{X, Y});
    return QPoint(qRound(p.X), qRound(p.Y));
  }
  // A press, two moves and a release with the left button, as the window system delivers them
  // (the application knows the button is held, as the cursor's choice asks).
  void Gesture(QPoint From, QPoint To, Qt::KeyboardModifiers Keys = {}) {
    QTest::mousePress(this, Qt::LeftButton, Keys, From);
    QTest::mouseMove(this, (From + To) / 2);
    QTest::mouseMove(this, To);
    QTest::mouseRelease(this, Qt::LeftButton, Keys, To);
  }

 private:
  void Frame(int32_t Zoom, int32_t X, int32_t Y) {
    SetZoom(Zoom);
    SetLayerOffset(X, Y);
    repaint();
  }
};

TBenchEditor& Editor() {
  static TBenchEditor* e = new TBenchEditor();  // left to the process's end
  return *e;
}

// ---- Hover ------------------------------------------------------------------------------------------

void BM_Hover_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  e.ClearSelection();
  e.ShowView();
  std::mt19937 random(4711);
  std::uniform_int_distribution<int> x(0, kViewW - 1), y(0, kViewH - 1);
  std::vector<QPoint> points(4096);
  for (QPoint& p : points) p = QPoint(x(random), y(random));
  size_t i = 0, hot = 0;
  for (auto _ : State) {
    const QPoint& p = points[i++ % points.size()];
    e.MouseMove(TShiftState{}, p.x(), p.y());
    e.repaint();
    hot += e.HotShape() != nullptr;
  }
  State.counters["hot_share"] = static_cast<double>(hot) / static_cast<double>(State.iterations());
}
BENCHMARK(BM_Hover_Editor)->Unit(benchmark::kMicrosecond);

// ---- Rubber band --------------------------------------------------------------------------------------

void BM_RubberBand10000_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  e.ShowPage();
  const QPoint from = e.At(kBand.Left, kBand.Top), to = e.At(kBand.Right, kBand.Bottom);
  double gesture = 0;
  for (auto _ : State) {
    State.PauseTiming();
    e.ClearSelection();
    e.repaint();
    State.ResumeTiming();
    const auto t = TClock::now();
    e.Gesture(from, to, Qt::ShiftModifier);
    gesture += Since(t);
    e.repaint();
  }
  State.counters["selected"] = e.SelectionCount();
  State.counters["gesture_ms_each"] = gesture / static_cast<double>(State.iterations()) * 1e3;
}
BENCHMARK(BM_RubberBand10000_Editor)->Unit(benchmark::kMillisecond);

// ---- Moving ---------------------------------------------------------------------------------------------

// The shapes a move takes: those reaching into the band (Arg 0: lying together, as a rubber band
// selects them), or every tenth shape (Arg 1: spread over the whole page).
bool Moves(size_t I, int64_t Arg) {
  if (Arg == 1) return I % 10 == 0;
  const TFigure& f = Figures()[I];
  return f.X + f.W >= kBand.Left && f.X <= kBand.Right && f.Y + f.H >= kBand.Top && f.Y <= kBand.Bottom;
}

double& SceneMoveSeconds(int64_t Arg) {
  static double seconds[2] = {0, 0};
  return seconds[Arg];
}

void BM_Move10000_SceneBsp(benchmark::State& State) {
  QGraphicsScene scene;
  std::vector<QGraphicsItem*> items;
  AddFigures(scene, items);
  std::vector<QGraphicsItem*> moved;
  for (size_t i = 0; i < items.size(); ++i)
    if (Moves(i, State.range(0))) moved.push_back(items[i]);
  scene.itemAt(QPointF(10, 10), QTransform());
  QCoreApplication::processEvents();
  double d = 7, seconds = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    for (QGraphicsItem* item : moved) item->moveBy(d, d);
    benchmark::DoNotOptimize(scene.itemAt(QPointF(kViewX + 500, kViewY + 500), QTransform()));
    seconds += Since(t);
    d = -d;
  }
  SceneMoveSeconds(State.range(0)) = seconds / static_cast<double>(State.iterations());
  State.counters["moved"] = static_cast<double>(moved.size());
}
BENCHMARK(BM_Move10000_SceneBsp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Move10000_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  // The move alone: nothing recorded.
  e.SetUndoLimit(0);
  e.ShowView();
  e.ClearSelection();
  TKxDeLayer* layer = e.GetLayer(0);
  for (int32_t i = 0; i < layer->ItemCount(); ++i)
    if (Moves(static_cast<size_t>(i), State.range(0))) e.AddSelection(layer->Items(i));
  // A press on the body of a selected shape in the view starts the move.
  QPoint grab;
  for (TKxDeShapeBase* s : e.Selections()) {
    const TRectF b = s->GetBounds();
    if (b.Left < kViewX + 200 || b.Top < kViewY + 200 || b.Right > kViewX + 1400 || b.Bottom > kViewY + 800 ||
        b.Right - b.Left < 30 || b.Bottom - b.Top < 30)
      continue;
    grab = e.At((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    QTest::mousePress(&e, Qt::LeftButton, {}, grab);
    const bool moving = e.EditState() == TKxDeEditState::kxesMoving;
    QTest::mouseRelease(&e, Qt::LeftButton, {}, grab);
    if (moving) break;
    grab = QPoint();
  }
  if (grab.isNull()) {
    State.SkipWithError("no selected shape to grab in the view");
    return;
  }
  const int selected = e.SelectionCount();
  const TRectF before = e.GetSelectionBounds();
  float movedBy = 0;
  int d = 7;
  double seconds = 0;
  for (auto _ : State) {
    const auto t = TClock::now();
    e.Gesture(grab, grab + QPoint(d, d));
    seconds += Since(t);
    if (movedBy == 0) movedBy = e.GetSelectionBounds().Left - before.Left;
    grab += QPoint(d, d);
    d = -d;
  }
  const double each = seconds / static_cast<double>(State.iterations());
  State.counters["selected"] = selected;
  // The first gesture's move of the selection in world units: 7 at zoom 100.
  State.counters["moved_by"] = movedBy;
  if (SceneMoveSeconds(State.range(0)) > 0) State.counters["x_scene"] = each / SceneMoveSeconds(State.range(0));
}
BENCHMARK(BM_Move10000_Editor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ---- Smart guides ----------------------------------------------------------------------------------

void BM_SmartGuidesMove_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  e.SetUndoLimit(0);
  e.ClearSelection();
  if (State.range(0) == 0) e.ShowView();
  else e.ShowPage();
  e.SmartGuides()->SetEnabled(true);
  // A press on the middle of a shape in the middle of the view starts the move.
  QPoint grab;
  TKxDeLayer* layer = e.GetLayer(0);
  for (int32_t i = 0; i < layer->ItemCount() && grab.isNull(); ++i) {
    const TRectF b = layer->Items(i)->GetBounds();
    const QPoint c = e.At((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
    if (c.x() < kViewW / 2 - 200 || c.x() > kViewW / 2 + 200 || c.y() < kViewH / 2 - 200 || c.y() > kViewH / 2 + 200)
      continue;
    QTest::mousePress(&e, Qt::LeftButton, {}, c);
    if (e.EditState() == TKxDeEditState::kxesMoving && e.SelectionCount() == 1) grab = c;
    else QTest::mouseRelease(&e, Qt::LeftButton, {}, c);
  }
  if (grab.isNull()) {
    State.SkipWithError("no shape to grab in the view");
    return;
  }
  const TShiftState held{TShiftStateItem::ssLeft};
  auto t = TClock::now();
  e.MouseMove(held, grab.x() + 1, grab.y());
  const double gather = Since(t);
  std::mt19937 random(2718);
  std::uniform_int_distribution<int> by(-300, 300);
  std::vector<QPoint> points(4096);
  for (QPoint& p : points) p = grab + QPoint(by(random), by(random));
  size_t i = 0;
  double moves = 0;
  for (auto _ : State) {
    const QPoint& p = points[i++ % points.size()];
    t = TClock::now();
    e.MouseMove(held, p.x(), p.y());
    moves += Since(t);
    e.repaint();
  }
  // Released where it was pressed: the shape stays.
  QTest::mouseRelease(&e, Qt::LeftButton, {}, grab);
  e.SmartGuides()->SetEnabled(false);
  State.counters["gather_ms"] = gather * 1e3;
  State.counters["mousemove_us"] = moves / static_cast<double>(State.iterations()) * 1e6;
}
BENCHMARK(BM_SmartGuidesMove_Editor)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// ---- Moving with undo ----------------------------------------------------------------------------------

// A move of many items as one undoable command, as a graphics-view application writes it.
class TMoveCommand : public QUndoCommand {
 public:
  TMoveCommand(const std::vector<QGraphicsItem*>& Items, QPointF D) : FItems(Items) {
    FOld.reserve(Items.size());
    for (QGraphicsItem* i : Items) FOld.push_back(i->pos());
    FNew.reserve(Items.size());
    for (const QPointF& p : FOld) FNew.push_back(p + D);
  }
  void redo() override {
    for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->setPos(FNew[i]);
  }
  void undo() override {
    for (size_t i = 0; i < FItems.size(); ++i) FItems[i]->setPos(FOld[i]);
  }

 private:
  std::vector<QGraphicsItem*> FItems;
  std::vector<QPointF> FOld, FNew;
};

struct TUndoFigures {
  double Move = 0;
  double UndoRedo = 0;
};
TUndoFigures& SceneUndoSeconds() {
  static TUndoFigures figures;
  return figures;
}

void BM_MoveUndoRedo10000_SceneUndoStack(benchmark::State& State) {
  QGraphicsScene scene;
  std::vector<QGraphicsItem*> items;
  AddFigures(scene, items);
  std::vector<QGraphicsItem*> moved;
  for (size_t i = 0; i < items.size(); ++i)
    if (Moves(i, 0)) moved.push_back(items[i]);
  QUndoStack stack;
  scene.itemAt(QPointF(10, 10), QTransform());
  double d = 7, move = 0, undoRedo = 0;
  for (auto _ : State) {
    auto t = TClock::now();
    stack.push(new TMoveCommand(moved, QPointF(d, d)));
    benchmark::DoNotOptimize(scene.itemAt(QPointF(kViewX + 500, kViewY + 500), QTransform()));
    move += Since(t);
    t = TClock::now();
    stack.undo();
    benchmark::DoNotOptimize(scene.itemAt(QPointF(kViewX + 500, kViewY + 500), QTransform()));
    stack.redo();
    benchmark::DoNotOptimize(scene.itemAt(QPointF(kViewX + 500, kViewY + 500), QTransform()));
    undoRedo += Since(t);
    d = -d;
  }
  const auto n = static_cast<double>(State.iterations());
  SceneUndoSeconds() = {move / n, undoRedo / n};
  State.counters["move_ms"] = move / n * 1e3;
  State.counters["undo_redo_ms"] = undoRedo / n * 1e3;
}
BENCHMARK(BM_MoveUndoRedo10000_SceneUndoStack)->Unit(benchmark::kMillisecond);

void BM_MoveUndoRedo10000_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  e.ShowView();
  e.SetUndoLimit(-1);
  e.ClearSelection();
  TKxDeLayer* layer = e.GetLayer(0);
  for (int32_t i = 0; i < layer->ItemCount(); ++i)
    if (Moves(static_cast<size_t>(i), 0)) e.AddSelection(layer->Items(i));
  float d = 7;
  double move = 0, undoRedo = 0;
  for (auto _ : State) {
    auto t = TClock::now();
    e.MoveSelection(TPointF{d, d});
    // The hot shape is chosen again after a move: the index catches up.
    benchmark::DoNotOptimize(e.ShapeAtPos(TPointF{kViewX + 500, kViewY + 500}, 2));
    move += Since(t);
    t = TClock::now();
    e.Undo();
    benchmark::DoNotOptimize(e.ShapeAtPos(TPointF{kViewX + 500, kViewY + 500}, 2));
    e.Redo();
    benchmark::DoNotOptimize(e.ShapeAtPos(TPointF{kViewX + 500, kViewY + 500}, 2));
    undoRedo += Since(t);
    State.PauseTiming();
    e.ClearUndo();
    State.ResumeTiming();
    d = -d;
  }
  const auto n = static_cast<double>(State.iterations());
  State.counters["selected"] = e.SelectionCount();
  State.counters["move_ms"] = move / n * 1e3;
  State.counters["undo_redo_ms"] = undoRedo / n * 1e3;
  if (SceneUndoSeconds().Move > 0) {
    State.counters["x_scene_move"] = move / n / SceneUndoSeconds().Move;
    State.counters["x_scene_undo_redo"] = undoRedo / n / SceneUndoSeconds().UndoRedo;
  }
}
BENCHMARK(BM_MoveUndoRedo10000_Editor)->Unit(benchmark::kMillisecond);

// The heap the undo history holds after 1,000 moves of one shape each: what emptying it gives back.
void BM_UndoMemory1000Moves_Editor(benchmark::State& State) {
  TBenchEditor& e = Editor();
  e.SetUndoLimit(-1);
  TKxDeLayer* layer = e.GetLayer(0);
  double bytes = 0;
  for (auto _ : State) {
    e.ClearUndo();
    for (int32_t i = 0; i < 1000; ++i) {
      e.Select(layer->Items(i * 97));
      e.MoveSelection(TPointF{1, 1});
    }
    State.PauseTiming();
    malloc_trim(0);
    const size_t held = mallinfo2().uordblks;
    e.ClearUndo();
    malloc_trim(0);
    bytes = static_cast<double>(held - mallinfo2().uordblks);
    State.ResumeTiming();
  }
  State.counters["bytes_per_entry"] = bytes / 1000;
}
BENCHMARK(BM_UndoMemory1000Moves_Editor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

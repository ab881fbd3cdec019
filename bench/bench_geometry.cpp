// Geometry helpers on the sizes a large drawing produces: rotating long outlines, hit-testing
// many-sided polygons, simplifying free-hand strokes.
#include <vorn/common/KxDeUtils.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

using vorn::TDPointArray;
using vorn::TKxDeUtils;
using vorn::TPoint;
using vorn::TPointArray;
using vorn::TPointF;

// A wavy closed outline with N vertices: star-like, so the crossing test has real work per edge.
TDPointArray WavyOutline(std::size_t N) {
  TDPointArray pts;
  pts.reserve(N);
  for (std::size_t i = 0; i < N; ++i) {
    const double a = 2 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(N);
    const double r = 500 + 60 * std::sin(17 * a);
    pts.push_back(TPointF{static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a))});
  }
  return pts;
}

// A free-hand stroke: a slow wave with a little deterministic jitter on every sample.
TPointArray FreeHandStroke(std::size_t N) {
  TPointArray pts;
  pts.reserve(N);
  uint32_t seed = 12345;
  for (std::size_t i = 0; i < N; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const int jitter = static_cast<int>(seed >> 29) - 4;
    const double x = static_cast<double>(i);
    pts.push_back(TPoint{static_cast<int32_t>(i), static_cast<int32_t>(200 * std::sin(x / 300)) + jitter});
  }
  return pts;
}

void BM_RotatePolygonFloat(benchmark::State& state) {
  const TDPointArray pts = WavyOutline(static_cast<std::size_t>(state.range(0)));
  TDPointArray out;
  float angle = 0;
  for (auto _ : state) {
    TKxDeUtils::RotatePolygon(pts, angle += 0.5f, TPointF{12, 34}, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RotatePolygonFloat)->Arg(10000);

void BM_RotatePolygonInt(benchmark::State& state) {
  const TPointArray pts = TKxDeUtils::DoublesToPoints(WavyOutline(static_cast<std::size_t>(state.range(0))));
  TPointArray out;
  float angle = 0;
  for (auto _ : state) {
    TKxDeUtils::RotatePolygon(pts, angle += 0.5f, TPointF{12, 34}, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RotatePolygonInt)->Arg(10000);

void BM_RotatePoint(benchmark::State& state) {
  const TDPointArray pts = WavyOutline(10000);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TKxDeUtils::RotatePoint(pts[i], 33, TPointF{12, 34}));
    i = (i + 1) % pts.size();
  }
}
BENCHMARK(BM_RotatePoint);

void BM_PtInPolygon(benchmark::State& state) {
  const TDPointArray poly = WavyOutline(static_cast<std::size_t>(state.range(0)));
  // Query points on a grid over the outline's bounds, inside and outside.
  TDPointArray queries;
  for (int y = -600; y <= 600; y += 40)
    for (int x = -600; x <= 600; x += 40) queries.push_back(TPointF{static_cast<float>(x), static_cast<float>(y)});
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TKxDeUtils::PtInPolygon(poly, queries[i]));
    i = (i + 1) % queries.size();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PtInPolygon)->Arg(1000);

void BM_NearLine(benchmark::State& state) {
  const TDPointArray poly = WavyOutline(1000);
  const TPointF probe{480, 20};
  for (auto _ : state) {
    // The outline hit test of a polyline shape: every segment against one point.
    bool hit = false;
    for (std::size_t k = 1; k < poly.size(); ++k) hit |= TKxDeUtils::NearLine(probe, poly[k - 1], poly[k], 3);
    benchmark::DoNotOptimize(hit);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(poly.size() - 1));
}
BENCHMARK(BM_NearLine);

void BM_PolySimplifyInt2D(benchmark::State& state) {
  const TPointArray stroke = FreeHandStroke(static_cast<std::size_t>(state.range(0)));
  TPointArray simple;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TKxDeUtils::PolySimplifyInt2D(2.0, stroke, simple));
  }
  state.counters["kept"] = static_cast<double>(simple.size());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PolySimplifyInt2D)->Arg(10000);

void BM_GetEllipsePoints(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TKxDeUtils::GetEllipsePoints(TPointF{0, 0}, 100, 50, 0, 0).data());
}
BENCHMARK(BM_GetEllipsePoints);

}  // namespace

BENCHMARK_MAIN();

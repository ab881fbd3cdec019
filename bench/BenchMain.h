#pragma once
// The main of every benchmark program: the benchmarks run inside a Qt application (offscreen
// unless QT_QPA_PLATFORM says otherwise), as shapes, fonts and pictures need one.

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunVornBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

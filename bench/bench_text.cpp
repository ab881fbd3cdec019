// Outlines to strokes: how long a glyph takes to become strokes, and what the reference-font
// cache costs on a hit and on a substituted family (which misses on every request).
#include "BenchMain.h"

#include <vorn/text/KxDeTTF.h>
#include <vorn/text/mekFontRef.h>

#include <benchmark/benchmark.h>


namespace {

vorn::TFont FontNamed(const char* Name) {
  vorn::TFont f;
  f.SetName(QString::fromLatin1(Name));
  return f;
}

void BM_CharacterGlyphs(benchmark::State& State) {
  vorn::TOwned<vorn::TKxDeTTF> ttf(vorn::Create<vorn::TKxDeTTF>());
  const vorn::TFont font = FontNamed("DejaVu Sans");
  ttf->SetFont(&font);
  ttf->SetSplinePrecision(static_cast<int32_t>(State.range(1)));
  const int32_t ch = static_cast<int32_t>(State.range(0));
  int64_t strokes = 0;
  for (auto _ : State) {
    vorn::TOwned<vorn::TKxDeStrokes> s = ttf->GetCharacterGlyphs(ch);
    strokes += s ? s->Count() : 0;
    benchmark::DoNotOptimize(s.get());
  }
  State.counters["strokes"] = benchmark::Counter(static_cast<double>(strokes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CharacterGlyphs)->Args({'I', 5})->Args({'o', 5})->Args({'@', 5})->Args({'@', 100});

void BM_KerningLookup(benchmark::State& State) {
  const vorn::TFont font = FontNamed("DejaVu Sans");
  vorn::TmekFontRef::CreateRefFont(font);
  int64_t sum = 0;
  for (auto _ : State) sum += vorn::TmekFontRef::GetKerningValue(font, 'T', 'o');
  benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_KerningLookup);

// The first request for a family that is not installed measures its substitute.
void BM_SubstitutedFamilyRequest(benchmark::State& State) {
  const vorn::TFont font = FontNamed("Swiss 721");
  for (auto _ : State) {
    benchmark::DoNotOptimize(vorn::TmekFontRef::GetEMSize(font));
    State.PauseTiming();
    vorn::TmekFontRef::FreeRefFontList();
    State.ResumeTiming();
  }
}
BENCHMARK(BM_SubstitutedFamilyRequest);

// Later requests (one per text shape made) copy the entry made by the first. Each adds an entry,
// so the cache is emptied now and then, outside the timing.
void BM_SubstitutedFamilyRepeated(benchmark::State& State) {
  const vorn::TFont font = FontNamed("Swiss 721");
  int64_t n = 0;
  for (auto _ : State) {
    benchmark::DoNotOptimize(vorn::TmekFontRef::GetEMSize(font));
    if (++n % 10000 == 0) {
      State.PauseTiming();
      vorn::TmekFontRef::FreeRefFontList();
      State.ResumeTiming();
    }
  }
  vorn::TmekFontRef::FreeRefFontList();
}
BENCHMARK(BM_SubstitutedFamilyRepeated);

}  // namespace

int main(int argc, char** argv) { return RunVornBenchmarks(argc, argv); }

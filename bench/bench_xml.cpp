// Document files of 100,000 shapes: saving (building the elements and writing the text) and
// loading (parsing and making the shapes), in shapes per second and MB per second, beside the
// time pugixml alone takes to parse and to write the same text, which bounds what the engine's
// own work can be measured against.

#include "BenchMain.h"

#include <vorn/common/XmlUtils.h>
#include <vorn/model/KxDeDocument.h>
#include <vorn/model/KxDeLayer.h>
#include <vorn/model/KxDeShape.h>

#include <benchmark/benchmark.h>

#include <QBuffer>

#include <malloc.h>

#include <cstdint>

namespace {

using namespace vorn;

constexpr int32_t kShapes = 100000;

// One layer of plain four-point shapes with names, spread over a page.
TKxDeLayer* MakeLayer() {
  TKxDeLayer* layer = Create<TKxDeLayer>(nullptr);
  layer->BeginUpdate();
  for (int32_t i = 0; i < kShapes; ++i) {
    TKxDeShape* s = Create<TKxDeShape>(nullptr, layer);
    const float x = static_cast<float>(i % 400) * 2.5f;
    const float y = static_cast<float>(i / 400) * 1.75f;
    s->Add(x, y);
    s->Add(x + 2.1f, y);
    s->Add(x + 2.1f, y + 1.3f);
    s->Add(x, y + 1.3f);
    s->SetName(QStringLiteral("Shape %1").arg(i));
  }
  layer->EndUpdate();
  return layer;
}

struct TSample {
  TKxDeLayerList Layers;
  QByteArray Text;

  TSample() {
    Layers.push_back(MakeLayer());
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    TKxDeDocumentFile::SaveLayersToStream(&buf, Layers);
    Text = buf.data();
    // One load before measuring, so that every figure is taken with a heap that has grown to
    // the document's size (as in a host that has opened documents before).
    TKxDeLayerList warm;
    TKxDeDocumentSettings settings;
    TKxDeDocumentFile::LoadLayersFromText(Text, warm, settings);
    for (TKxDeLayer*& l : warm) Free(l);
  }
};

TSample& Sample() {
  static TSample sample;
  return sample;
}

void SetRates(benchmark::State& State, int64_t Bytes) {
  State.counters["shapes/s"] = benchmark::Counter(
      static_cast<double>(kShapes) * static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
  State.counters["MB/s"] = benchmark::Counter(
      static_cast<double>(Bytes) * static_cast<double>(State.iterations()) / 1e6, benchmark::Counter::kIsRate);
  State.counters["MB"] = static_cast<double>(Bytes) / 1e6;
}

void BM_Document_Save(benchmark::State& State) {
  TSample& s = Sample();
  int64_t bytes = 0;
  for (auto _ : State) {
    QBuffer buf;
    buf.open(QIODevice::WriteOnly);
    TKxDeDocumentFile::SaveLayersToStream(&buf, s.Layers);
    bytes = buf.size();
  }
  SetRates(State, bytes);
}
BENCHMARK(BM_Document_Save)->Unit(benchmark::kMillisecond);

void BM_Document_Load(benchmark::State& State) {
  TSample& s = Sample();
  for (auto _ : State) {
    TKxDeLayerList layers;
    TKxDeDocumentSettings settings;
    TKxDeDocumentFile::LoadLayersFromText(s.Text, layers, settings);
    State.PauseTiming();
    if (layers.size() != 1 || layers[0]->ItemCount() != kShapes) State.SkipWithError("wrong shape count");
    for (TKxDeLayer*& l : layers) Free(l);
    State.ResumeTiming();
  }
  SetRates(State, s.Text.size());
}
BENCHMARK(BM_Document_Load)->Unit(benchmark::kMillisecond);

// The parts of the two: building the elements without writing text, and making the same shapes
// without any XML (what loading costs at least).
void BM_Document_BuildElements(benchmark::State& State) {
  TSample& s = Sample();
  for (auto _ : State) {
    TXmlDocument doc;
    TKxDeDocumentFile::SaveLayersToXML(doc, s.Layers);
    benchmark::DoNotOptimize(doc.first_child());
  }
  SetRates(State, s.Text.size());
}
BENCHMARK(BM_Document_BuildElements)->Unit(benchmark::kMillisecond);

void BM_Model_MakeShapes(benchmark::State& State) {
  for (auto _ : State) {
    TKxDeLayer* layer = MakeLayer();
    State.PauseTiming();
    Free(layer);
    State.ResumeTiming();
  }
  SetRates(State, 0);
}
BENCHMARK(BM_Model_MakeShapes)->Unit(benchmark::kMillisecond);

// pugixml alone on the same text: parsing with the flags the engine uses, and writing the parsed
// document as the engine writes it.
void BM_Pugixml_Parse(benchmark::State& State) {
  TSample& s = Sample();
  for (auto _ : State) {
    TXmlDocument doc;
    XmlParse(doc, s.Text);
    benchmark::DoNotOptimize(doc.first_child());
  }
  SetRates(State, s.Text.size());
}
BENCHMARK(BM_Pugixml_Parse)->Unit(benchmark::kMillisecond);

void BM_Pugixml_Write(benchmark::State& State) {
  TSample& s = Sample();
  TXmlDocument doc;
  XmlParse(doc, s.Text);
  struct TSink : pugi::xml_writer {
    int64_t Bytes = 0;
    void write(const void*, size_t Size) override { Bytes += static_cast<int64_t>(Size); }
  };
  int64_t bytes = 0;
  for (auto _ : State) {
    TSink sink;
    doc.save(sink, "  ", pugi::format_indent, pugi::encoding_utf8);
    bytes = sink.Bytes;
  }
  SetRates(State, bytes);
}
BENCHMARK(BM_Pugixml_Write)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Freed memory stays with the process: the figures are the engine's and pugixml's work, not
  // the operating system's first touch of fresh pages, which the first load of a session pays
  // once and which depends on the machine far more than on the code.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  return RunVornBenchmarks(argc, argv);
}

#pragma once
// What the fuzz targets share: one Qt application on the offscreen platform with its chatter
// silenced and the shape kit registered (made by LLVMFuzzerInitialize, which libFuzzer and the
// replay program both call first), and the checks that end a run as a finding.

#include <vorn/common/XmlUtils.h>
#include <vorn/model/KxDeLayer.h>

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace vorn {
class TKxDeEditor;
}

namespace vorn::fuzz {

// The input as bytes, without copying.
inline QByteArray Bytes(const uint8_t* Data, size_t Size) {
  return QByteArray::fromRawData(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
}

// The document or object text without the lines that note a font substitution: a font replaced
// on the first reading is no longer replaced on the second.
QByteArray WithoutSubstitutions(const QByteArray& Text);

// Parses the input into Doc; false when it is not well-formed XML.
bool ParseXml(TXmlDocument& Doc, const uint8_t* Data, size_t Size);

// The process's one editor (offscreen, never destroyed), emptied: no layer, no history.
TKxDeEditor& EmptyEditor();

// The document text of Layers, as a file would hold it.
QByteArray DocumentText(const TKxDeLayerList& Layers);

// A broken invariant: prints what differs and aborts, which the fuzzer records as a crash.
[[noreturn]] void Fail(const char* What, const QByteArray& Expected = {}, const QByteArray& Actual = {});

}  // namespace vorn::fuzz

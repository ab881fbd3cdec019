#pragma once
// Reading and writing documents for the vorn commands: the kit's shapes are registered, the
// layers are owned until the command ends, and every failure becomes one line of text.

#include <vorn/model/KxDeDocument.h>

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace vorncli {

// A progress report for long work (reading, drawing, writing a large document) shown on the
// terminal as "What: NN%"; nothing for small documents or when stderr is not a terminal.
std::function<void(int64_t Done, int64_t Total)> TerminalProgress(const char* What);

// A document read from a file; frees its layers when it goes.
class LoadedDocument {
 public:
  LoadedDocument() = default;
  ~LoadedDocument();
  LoadedDocument(const LoadedDocument&) = delete;
  LoadedDocument& operator=(const LoadedDocument&) = delete;

  // Reads FileName; false with Error set (one line) when it cannot be read.
  bool Load(const QString& FileName, QString& Error);

  vorn::TKxDeLayerList Layers;
  vorn::TKxDeDocumentSettings Settings;
  // What the reader skipped (unknown classes, too deep nesting), one line each.
  QStringList Warnings;
  int64_t ShapeCount() const;
};

}  // namespace vorncli

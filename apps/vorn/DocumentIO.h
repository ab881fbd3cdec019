#pragma once
// Reading and writing documents for the vorn commands: the kit's shapes are registered, the
// layers are owned until the command ends, and every failure becomes one line of text.

#include <vorn/model/KxDeDocument.h>

#include <QString>
#include <QStringList>

namespace vorncli {

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

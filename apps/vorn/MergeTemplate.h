#pragma once
// A template document for data merge: the texts of its shapes (texts, barcodes, any shape with a
// label, in groups and packages too) with ${column} placeholders, filled row by row.

#include "MergeData.h"

#include <vorn/model/KxDeDocument.h>

#include <QString>

#include <vector>

namespace vorn {
class TKxDeShapeBase;
}

namespace vorncli {

class TMergeTemplate {
 public:
  explicit TMergeTemplate(const vorn::TKxDeLayerList& Layers);

  // True when no shape has a placeholder.
  bool Empty() const { return FFields.empty(); }
  // Matches the placeholders to the columns of Header; returns an error naming the placeholders
  // that no column fills, empty when all match.
  QString Bind(const std::vector<std::string>& Header);
  // Puts the values of Row into the shapes. Returns why the row cannot be rendered, empty when it
  // can: fields that are not UTF-8 text, a number of fields other than the header's, a barcode
  // that cannot encode what the row gives it.
  QString Fill(const TCsvRecord& Row);

 private:
  struct TField {
    vorn::TKxDeShapeBase* Shape;
    TMergeText Text;
  };
  std::vector<TField> FFields;
  size_t FColumns = 0;
};

}  // namespace vorncli

#pragma once
// Data merge without Qt: the rows of a CSV file and texts with ${column} placeholders that the
// rows fill. The merge itself (template documents, barcodes, output) is in MergeTemplate.h.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorncli {

struct TCsvRecord {
  std::vector<std::string> Fields;
  int64_t Line = 0;  // where the record starts in the file, from 1
  bool Utf8 = true;  // every field is valid UTF-8
};

// A CSV table as RFC 4180 describes it: fields separated by commas, records by CRLF (LF or CR
// alone are taken too), fields in double quotes may hold commas, line breaks and doubled quotes.
// The first record is the header. Quotes inside an unquoted field are kept as they are, and blank
// lines are skipped.
class TCsvTable {
 public:
  // Parses Text (UTF-8, a byte-order mark at the start is skipped). False with Error ("line N:
  // what") when a quoted field is never closed or text follows its closing quote, or when there
  // is no header.
  bool Parse(std::string_view Text, std::string& Error);

  std::vector<std::string> Header;  // column names, surrounding spaces removed
  std::vector<TCsvRecord> Rows;     // the records after the header
};

// A text with ${column} placeholders. "${" without a closing brace, and "${}", are plain text;
// the name between the braces is taken without surrounding spaces.
class TMergeText {
 public:
  explicit TMergeText(std::string_view Text);

  bool HasFields() const;
  // Matches the placeholders to Header's columns; returns the names no column has (each once).
  std::vector<std::string> Bind(const std::vector<std::string>& Header);
  // The text with each placeholder replaced by its column's value in Fields (after Bind, with as
  // many fields as the header has).
  std::string Fill(const std::vector<std::string>& Fields) const;

 private:
  struct TPart {
    std::string Text;  // plain text, or the placeholder's name
    bool Field = false;
    size_t Column = 0;
  };
  std::vector<TPart> FParts;
};

// True when Text is well-formed UTF-8.
bool IsUtf8(std::string_view Text);

}  // namespace vorncli

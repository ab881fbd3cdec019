#include "MergeData.h"

#include <algorithm>
#include <cstdint>

namespace vorncli {
namespace {

std::string Trimmed(std::string_view S) {
  const auto space = [](char C) { return C == ' ' || C == '\t'; };
  while (!S.empty() && space(S.front())) S.remove_prefix(1);
  while (!S.empty() && space(S.back())) S.remove_suffix(1);
  return std::string(S);
}

}  // namespace

bool TCsvTable::Parse(std::string_view Text, std::string& Error) {
  Header.clear();
  Rows.clear();
  if (Text.substr(0, 3) == "\xEF\xBB\xBF") Text.remove_prefix(3);
  const size_t n = Text.size();
  size_t pos = 0;
  int64_t line = 1;
  // Consumes a line end at pos (CR LF, LF or CR) and counts it.
  auto lineEnd = [&] {
    if (pos < n && Text[pos] == '\r') ++pos;
    else if (pos < n && Text[pos] == '\n') ++pos;
    else return false;
    if (pos < n && Text[pos - 1] == '\r' && Text[pos] == '\n') ++pos;
    ++line;
    return true;
  };
  auto fieldEnd = [&] { return pos >= n || Text[pos] == ',' || Text[pos] == '\r' || Text[pos] == '\n'; };

  bool first = true;
  while (pos < n) {
    TCsvRecord record;
    record.Line = line;
    bool quotedAny = false;
    for (;;) {
      std::string field;
      if (pos < n && Text[pos] == '"') {
        quotedAny = true;
        const int64_t start = line;
        ++pos;
        for (;;) {
          if (pos >= n) {
            Error = "line " + std::to_string(start) + ": a quoted field is not closed";
            return false;
          }
          if (Text[pos] == '"') {
            if (pos + 1 < n && Text[pos + 1] == '"') {
              field += '"';
              pos += 2;
              continue;
            }
            ++pos;
            break;
          }
          const size_t from = pos;
          if (lineEnd()) {
            field.append(Text.substr(from, pos - from));
          } else {
            field += Text[pos++];
          }
        }
        if (!fieldEnd()) {
          Error = "line " + std::to_string(line) + ": text after the closing quote of a field";
          return false;
        }
      } else {
        const size_t from = pos;
        while (!fieldEnd()) ++pos;
        field.assign(Text.substr(from, pos - from));
      }
      record.Fields.push_back(std::move(field));
      if (pos < n && Text[pos] == ',') {
        ++pos;
        continue;
      }
      lineEnd();
      break;
    }
    if (record.Fields.size() == 1 && record.Fields[0].empty() && !quotedAny) continue;  // a blank line
    for (const std::string& f : record.Fields) record.Utf8 = record.Utf8 && IsUtf8(f);
    if (first) {
      first = false;
      if (!record.Utf8) {
        Error = "line " + std::to_string(record.Line) + ": the header is not UTF-8 text";
        return false;
      }
      for (const std::string& f : record.Fields) Header.push_back(Trimmed(f));
    } else {
      Rows.push_back(std::move(record));
    }
  }
  if (first) {
    Error = "no header row";
    return false;
  }
  return true;
}

TMergeText::TMergeText(std::string_view Text) {
  size_t pos = 0;
  while (pos < Text.size()) {
    const size_t open = Text.find("${", pos);
    const size_t close = open == std::string_view::npos ? open : Text.find('}', open + 2);
    const std::string name =
        close == std::string_view::npos ? std::string() : Trimmed(Text.substr(open + 2, close - open - 2));
    if (name.empty()) {
      // No placeholder up to the next "${" (or the end): plain text.
      const size_t end = open == std::string_view::npos ? Text.size() : open + 2;
      if (FParts.empty() || FParts.back().Field) FParts.push_back({});
      FParts.back().Text.append(Text.substr(pos, end - pos));
      pos = end;
      continue;
    }
    if (open > pos) {
      if (FParts.empty() || FParts.back().Field) FParts.push_back({});
      FParts.back().Text.append(Text.substr(pos, open - pos));
    }
    FParts.push_back({name, true, 0});
    pos = close + 1;
  }
}

bool TMergeText::HasFields() const {
  return std::any_of(FParts.begin(), FParts.end(), [](const TPart& P) { return P.Field; });
}

std::vector<std::string> TMergeText::Bind(const std::vector<std::string>& Header) {
  std::vector<std::string> missing;
  for (TPart& p : FParts) {
    if (!p.Field) continue;
    const auto at = std::find(Header.begin(), Header.end(), p.Text);
    // A placeholder without a column is filled with nothing.
    p.Column = at != Header.end() ? static_cast<size_t>(at - Header.begin()) : SIZE_MAX;
    if (at == Header.end() && std::find(missing.begin(), missing.end(), p.Text) == missing.end())
      missing.push_back(p.Text);
  }
  return missing;
}

std::string TMergeText::Fill(const std::vector<std::string>& Fields) const {
  std::string out;
  for (const TPart& p : FParts) {
    if (!p.Field) out += p.Text;
    else if (p.Column < Fields.size()) out += Fields[p.Column];
  }
  return out;
}

bool IsUtf8(std::string_view Text) {
  const auto* p = reinterpret_cast<const unsigned char*>(Text.data());
  const auto* end = p + Text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int more = 0;
    uint32_t code = 0, least = 0;
    if ((c & 0xE0) == 0xC0) more = 1, code = c & 0x1F, least = 0x80;
    else if ((c & 0xF0) == 0xE0) more = 2, code = c & 0x0F, least = 0x800;
    else if ((c & 0xF8) == 0xF0) more = 3, code = c & 0x07, least = 0x10000;
    else return false;
    if (end - p <= more) return false;
    for (int k = 1; k <= more; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
      code = (code << 6) | (p[k] & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF are not UTF-8.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    p += more + 1;
  }
  return true;
}

}  // namespace vorncli

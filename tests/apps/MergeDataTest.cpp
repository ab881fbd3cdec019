// Data merge input: CSV tables as RFC 4180 writes them (and as spreadsheets export them), and
// texts with ${column} placeholders.
#include "MergeData.h"

#include <gtest/gtest.h>

using namespace vorncli;

namespace {

using TRows = std::vector<std::vector<std::string>>;

struct TCsvCase {
  const char* Name;
  std::string Text;
  std::vector<std::string> Header;
  TRows Rows;
  std::vector<int64_t> Lines;  // where each row starts
};

}  // namespace

TEST(Csv, ParsesFieldsQuotesAndLineEnds) {
  const TCsvCase cases[] = {
      {"plain, LF", "a,b\n1,2\n3,4\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
      {"CRLF, no final line end", "a,b\r\n1,2\r\n3,4", {"a", "b"}, {{"1", "2"}, {"3", "4"}}, {2, 3}},
      {"lone CR", "a\r1\r2\r", {"a"}, {{"1"}, {"2"}}, {2, 3}},
      // Quoted commas, doubled quotes and line breaks (which count) come with the merge tests of `vorn render`.
      {"empty fields and a trailing comma",
       "a,b,c\n,,\nx,\"\",\n",
       {"a", "b", "c"},
       {{"", "", ""}, {"x", "", ""}},
       {2, 3}},
      {"blank lines are skipped, a quoted empty field is a row", "a\n\n1\r\n\r\n\"\"\n", {"a"}, {{"1"}, {""}}, {3, 5}},
      {"byte-order mark, header trimmed, values kept",
       "\xEF\xBB\xBF name , zip\n  Ada ,01\n",
       {"name", "zip"},
       {{"  Ada ", "01"}},
       {2}},
      {"a quote inside an unquoted field is text", "a\n5\" screen\n", {"a"}, {{"5\" screen"}}, {2}},
      {"rows of other lengths are kept as they are", "a,b\n1\n1,2,3\n", {"a", "b"}, {{"1"}, {"1", "2", "3"}}, {2, 3}},
  };
  for (const TCsvCase& c : cases) {
    TCsvTable t;
    std::string error;
    ASSERT_TRUE(t.Parse(c.Text, error)) << c.Name << ": " << error;
    EXPECT_EQ(t.Header, c.Header) << c.Name;
    ASSERT_EQ(t.Rows.size(), c.Rows.size()) << c.Name;
    for (size_t i = 0; i < c.Rows.size(); ++i) {
      EXPECT_EQ(t.Rows[i].Fields, c.Rows[i]) << c.Name << ", row " << i + 1;
      EXPECT_EQ(t.Rows[i].Line, c.Lines[i]) << c.Name << ", row " << i + 1;
    }
  }
}

TEST(Csv, RefusesBrokenQuotesAndMissingHeaderWithTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"a,b\n1,2\n\"open,3\n4,5\n", "line 3: a quoted field is not closed"},
      {"a,b\n\"x\"y,2\n", "line 2: text after the closing quote of a field"},
      {"a\n\"one\ntwo\" x\n", "line 3: text after the closing quote of a field"},
      {"\n\r\n", "no header row"},
      {"\xFF\xFE"
       "a\n1\n",
       "line 1: the header is not UTF-8 text"},
  };
  for (const auto& [text, message] : cases) {
    TCsvTable t;
    std::string error;
    EXPECT_FALSE(t.Parse(text, error)) << message;
    EXPECT_EQ(error, message);
  }
}

TEST(Csv, MarksRowsThatAreNotUtf8) {
  TCsvTable t;
  std::string error;
  // Latin-1 "Å", a truncated sequence, an overlong "/", a surrogate, and good UTF-8 text.
  ASSERT_TRUE(t.Parse("a\n\xC5sa\nx\xE2\x82\n\xC0\xAF\n\xED\xA0\x80\n\xC3\x85sa \xF0\x9F\x93\xA6\n", error));
  std::vector<bool> utf8;
  for (const TCsvRecord& r : t.Rows) utf8.push_back(r.Utf8);
  EXPECT_EQ(utf8, (std::vector<bool>{false, false, false, false, true}));
}

TEST(MergeText, FillsPlaceholdersAndReportsUnknownColumns) {
  const std::vector<std::string> header = {"name", "zip", "city"};
  const std::vector<std::string> row = {"Ada", "111 35", "Stockholm"};
  struct TCase {
    const char* Text;
    bool HasFields;
    std::string Filled;
    std::vector<std::string> Missing;
  };
  const TCase cases[] = {
      {"no fields", false, "no fields", {}},
      {"${name}", true, "Ada", {}},
      {"${zip} ${city}, ${name}!", true, "111 35 Stockholm, Ada!", {}},
      {"${ name }${name}", true, "AdaAda", {}},
      {"cost: ${}, open ${name", false, "cost: ${}, open ${name", {}},
      {"$${name}}", true, "$Ada}", {}},
      {"${street} ${name} ${street} ${country}", true, " Ada  ", {"street", "country"}},
  };
  for (const TCase& c : cases) {
    TMergeText text(c.Text);
    EXPECT_EQ(text.HasFields(), c.HasFields) << c.Text;
    EXPECT_EQ(text.Bind(header), c.Missing) << c.Text;
    EXPECT_EQ(text.Fill(row), c.Filled) << c.Text;
  }
}

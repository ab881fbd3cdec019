// Number formats for floating-point values.
#include <vorn/common/FormatFloat.h>

#include <gtest/gtest.h>

using namespace vorn;

TEST(FormatFloat, FormatsLikeItsPattern) {
  struct TCase {
    const char* Format;
    double Value;
    const char* Expected;
  };
  const TCase cases[] = {
      {"0.##", 0.2, "0.2"},
      {"0.##", 2.0, "2"},
      {"0.##", 3.14159, "3.14"},
      {"0.##", -0.001, "0"},
      {"0.##", -1.5, "-1.5"},
      {"0.00", 1.0, "1.00"},
      {"#.##", 0.5, ".5"},
      {"000", 7.0, "007"},
      {"#,##0.0", 1234567.89, "1,234,567.9"},
      {"0.0 \"mm\"", 2.26, "2.3 mm"},
      {"0.0;(0.0);zero", -2.0, "(2.0)"},
      {"0.0;(0.0);zero", 0.0, "zero"},
      {"0.00E+00", 12345.0, "1.23E+04"},
      {"0.0E-0", 0.00123, "1.2E-3"},
      {"0.#E+00", 9.99, "1E+01"},
      {"", 0.1, "0.1"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(FormatFloat(QLatin1String(c.Format), c.Value), QLatin1String(c.Expected)) << c.Format << " " << c.Value;
  EXPECT_EQ(FormatFloat(QStringLiteral("#,##0.00"), 1234.5, QLatin1Char(','), QLatin1Char('.')),
            QStringLiteral("1.234,50"));
}

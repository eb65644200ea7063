// The watch list: which texts name an entry, and how an entry shows.
#include <gtest/gtest.h>

#include "devtools/watch_list.h"

namespace torvel {
namespace {

TEST(WatchListTest, TakesALetterAndThreeDigitsOnly) {
  struct Case {
    const char* text;
    bool ok;
    char kind;
    int index;
  };
  const Case cases[] = {
      {"V001", true, 'V', 1},
      {"s028", true, 'S', 28},
      {" E999 ", true, 'E', 999},
      {"F000", true, 'F', 0},
      {"G001", false},
      {"V01", false},
      {"V0001", false},
      {"V-01", false},
      {"V 01", false},
      {"", false},
      {"VABC", false},
      {"T001", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<WatchEntry> e = ParseWatchEntry(c.text);
    ASSERT_EQ(e.has_value(), c.ok);
    if (!e) continue;
    EXPECT_EQ(e->kind, c.kind);
    EXPECT_EQ(e->index, c.index);
  }
}

TEST(WatchListTest, ShowsTheNameAndTheValue) {
  VarStore vars;
  vars.V(1) = 5;
  vars.S(28) = -12;
  vars.E.Set(999);
  EXPECT_EQ(FormatWatch({'V', 1}, vars), "V001 = 5");
  EXPECT_EQ(FormatWatch({'S', 28}, vars), "S028 = -12");
  EXPECT_EQ(FormatWatch({'E', 999}, vars), "E999 = 1");
  EXPECT_EQ(FormatWatch({'F', 7}, vars), "F007 = 0");
}

}  // namespace
}  // namespace torvel

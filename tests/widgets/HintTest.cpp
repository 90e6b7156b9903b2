#include <widgets/Hint.h>

#include <gtest/gtest.h>

#include <tuple>

namespace qzr {
namespace {

TEST(Hint, ShortAndLongParts)
{
    for (auto [hint, shortPart, longPart] :
         {std::tuple{"Open|Opens an existing file", "Open", "Opens an existing file"},
          {"Close", "Close", "Close"},
          {"a|b|c", "a", "b|c"},
          {"|Long only", "", "Long only"}}) {
        SCOPED_TRACE(hint);
        EXPECT_EQ(ShortHint(hint), shortPart);
        EXPECT_EQ(LongHint(hint), longPart);
    }
}

} // namespace
} // namespace qzr

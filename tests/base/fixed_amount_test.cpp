#include "base/fixed_amount.h"

#include <gtest/gtest.h>

#include <limits>

namespace yentax {
namespace {

TEST(FixedAmountTest, ParsesDigitStrings) {
  struct Case {
    std::u16string text;
    std::int64_t units;
  };
  const Case cases[] = {
      {u"1980", 19800000},
      {u"１９８０", 19800000},
      {u"0.25", 2500},
      {u"19.80", 198000},
      {u"-500", -5000000},
      {u"1.23456", 12346},
      {u"1.23445", 12344},
      {u"1.23455", 12346},
      {u"1.234451", 12345},
      {u"2004.05.01", 0},
      {u"", 0},
      {u"abc", 0},
      {u"12a", 0},
      {u"99999999999999999999", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FixedAmount::parse(c.text).units(), c.units)
        << std::string(c.text.begin(), c.text.end());
  }
}

TEST(FixedAmountTest, WritesShortestText) {
  EXPECT_EQ(FixedAmount::parse(u"19").toText(), "19");
  EXPECT_EQ(FixedAmount::parse(u"9999999999").toText(), "9999999999");
  EXPECT_EQ(FixedAmount::parse(u"0.25").toText(), "0.25");
  EXPECT_EQ(FixedAmount::parse(u"110.2500").toText(), "110.25");
  EXPECT_EQ(FixedAmount::parse(u"-0.5").toText(), "-0.5");
  EXPECT_EQ(FixedAmount::fromUnits(std::numeric_limits<std::int64_t>::min()).toText(),
            "-922337203685477.5808");
}

TEST(FixedAmountTest, RoundsDoublesToEvenAtFourPlaces) {
  EXPECT_EQ(FixedAmount::fromDouble(110.25)->units(), 1102500);
  EXPECT_EQ(FixedAmount::fromDouble(0.03125)->units(), 312);  // exact tie goes to even
  EXPECT_EQ(FixedAmount::fromDouble(0.09375)->units(), 938);
  EXPECT_EQ(FixedAmount::fromDouble(-1.23456)->units(), -12346);
  EXPECT_FALSE(FixedAmount::fromDouble(1e30).has_value());
  EXPECT_FALSE(FixedAmount::fromDouble(std::numeric_limits<double>::quiet_NaN()).has_value());
}

TEST(FixedAmountTest, DetectsOverflow) {
  const auto big = FixedAmount::fromUnits(std::numeric_limits<std::int64_t>::max());
  EXPECT_FALSE(big.plus(FixedAmount::fromUnits(1)).has_value());
  EXPECT_FALSE(FixedAmount::fromUnits(std::numeric_limits<std::int64_t>::min())
                   .minus(FixedAmount::fromUnits(1))
                   .has_value());
  EXPECT_FALSE(big.times(2).has_value());
  EXPECT_EQ(FixedAmount::parse(u"100").times(10)->toText(), "1000");
  EXPECT_EQ(FixedAmount::parse(u"2079").minus(FixedAmount::parse(u"1980"))->toText(), "99");
  EXPECT_FALSE(
      FixedAmount::fromInteger(std::numeric_limits<std::int64_t>::max() / 1000).has_value());
}

}  // namespace
}  // namespace yentax

// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/mixture.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace zelk {
namespace {

std::vector<int> BytesForLimit(double limit) {
  std::vector<int> bytes;
  for (int index = 0; index < 5; ++index) bytes.push_back(MixtureByte(index, limit));
  return bytes;
}

TEST(Mixture, BytesForEachEthanolShare) {
  EXPECT_EQ(BytesForLimit(50), (std::vector<int>{1, 8, 16, 24, 31}));
  EXPECT_EQ(BytesForLimit(10), (std::vector<int>{1, 2, 3, 5, 6}));
}

TEST(Mixture, StaysWithinOneTo31OverTheAllowedLimits) {
  for (int tenths = 100; tenths <= 500; ++tenths) {
    for (int index = 0; index < 5; ++index) {
      const int byte = MixtureByte(index, tenths / 10.0);
      EXPECT_GE(byte, 1) << tenths << " " << index;
      EXPECT_LE(byte, 31) << tenths << " " << index;
    }
  }
}

// "%.0f" sends an exact half to the even count.
TEST(Mixture, ExactHalvesRoundToEven) {
  EXPECT_EQ(MixtureByte(1, 3.125), 0);   // 0.78125 % is 0.5 counts
  EXPECT_EQ(MixtureByte(1, 9.375), 2);   // 1.5 counts
  EXPECT_EQ(MixtureByte(1, 15.625), 2);  // 2.5 counts
}

TEST(Mixture, OddInputs) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(MixtureByte(-1, 50), 1);  // nothing selected counts as 0 %
  EXPECT_EQ(MixtureByte(5, 50), 1);
  EXPECT_EQ(MixtureByte(0, nan), 1);  // 0 % ignores the limit
  EXPECT_EQ(MixtureByte(2, nan), 0);
  EXPECT_EQ(MixtureByte(4, inf), 0);
  EXPECT_EQ(MixtureByte(4, 1e6), 255);   // 639999 counts: the low 8 bits
  EXPECT_EQ(MixtureByte(4, 1e12), 255);  // 639999999999 counts, 2^16 * 5^10 - 1: beyond 32 bits
  EXPECT_EQ(MixtureByte(4, -1000), static_cast<std::uint8_t>(-641));  // -640.64 counts
}

}  // namespace
}  // namespace zelk

// The vectorised scans agree with plain loops at every length and alignment.
#include "base/byte_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tessary {
namespace {

TEST(ByteScan, AgreesWithScalarLoopsOnRandomData) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    size_t n = rng() % 200;
    std::vector<uint8_t> v(n + 1);
    for (auto& b : v) b = static_cast<uint8_t>(rng() % 16 == 0 ? 0x0D : rng() % 0x7F);
    if (n > 0 && rng() % 2) v[rng() % n] = 0x80 | static_cast<uint8_t>(rng());
    const size_t off = rng() % (n + 1);  // unaligned starts
    const uint8_t* p = v.data() + off;
    const uint8_t* end = v.data() + n;

    const uint8_t* want = p;
    while (want < end && *want != 0x0D && *want != 0x0A && *want != 0 && *want != 0x1A) ++want;
    EXPECT_EQ(scan::FindAny4(p, end, 0x0D, 0x0A, 0, 0x1A), want);

    const uint8_t* high = p;
    while (high < end && !(*high & 0x80)) ++high;
    EXPECT_EQ(scan::FindHighBit(p, end), high);

    uint64_t cr = 0, x = 0;
    for (const uint8_t* q = p; q < end; ++q) cr += *q == 0x0D, x += *q == 0x41;
    auto c = scan::CountTwo(p, end, 0x0D, 0x41);
    EXPECT_EQ(c.a, cr);
    EXPECT_EQ(c.b, x);
  }
}

TEST(ByteScan, CountsPastTheByteLaneLimit) {
  // More than 255 blocks of 16 equal bytes must not overflow the byte counters.
  std::vector<uint8_t> v(16 * 1000 + 7, 0x0A);
  auto c = scan::CountTwo(v.data(), v.data() + v.size(), 0x0D, 0x0A);
  EXPECT_EQ(c.a, 0u);
  EXPECT_EQ(c.b, v.size());
}

}  // namespace
}  // namespace tessary

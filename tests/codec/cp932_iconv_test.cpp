// The code page 932 tables against an independent decoder: the C library's CP932 via iconv.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "base/sjis.h"
#include "codec/cp932.h"

namespace tessary {
namespace {

// One conversion descriptor for a whole test; reset before every character.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The output bytes, or nothing when the library refuses the input.
  std::optional<std::string> Convert(std::string in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char* ip = in.data();
    char* op = out;
    size_t il = in.size(), ol = sizeof out;
    if (iconv(cd_, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) return std::nullopt;
    return std::string(out, static_cast<size_t>(op - out));
  }

 private:
  iconv_t cd_;
};

uint16_t UnitOf(const std::string& le) {
  return static_cast<uint16_t>(static_cast<uint8_t>(le[0]) | static_cast<uint8_t>(le[1]) << 8);
}

// Units that our table encodes on purpose where the library has no code: the best-fit entries
// and the five JIS readings.
std::set<int> DeliberateEncodings() {
  std::set<int> units;
  for (const char* name : {"cp932-bestfit.tsv", "cp932-jis-variants.tsv"}) {
    std::ifstream in(std::string(TESSARY_SOURCE_DIR) + "/data/codepage/" + name);
    EXPECT_TRUE(in) << name;
    std::string unit, code;
    in >> unit >> code;  // header
    while (in >> unit >> code) units.insert(std::stoi(unit.substr(2), nullptr, 16));
  }
  return units;
}

TEST(Cp932AgainstIconv, EveryCodeDecodesAsTheLibraryDecodesIt) {
  Iconv cd("UTF-16LE", "CP932");
  if (!cd.ok()) GTEST_SKIP() << "the C library has no CP932 converter";
  int compared = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!sjis::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const uint16_t ours = cp932::DecodePair(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
      const auto theirs = cd.Convert({static_cast<char>(lead), static_cast<char>(trail)});
      if (!theirs) {
        // Codes the library refuses are the unlisted ones, which read as the middle dot.
        EXPECT_EQ(ours, cp932::kDefaultUnit) << std::hex << lead << trail;
        continue;
      }
      ASSERT_EQ(theirs->size(), 2u);
      EXPECT_EQ(ours, UnitOf(*theirs)) << std::hex << lead << trail;
      ++compared;
    }
  }
  EXPECT_GT(compared, 9000);
  // Single bytes: the library leaves out five that the published table maps.
  const std::set<int> refused = {0x80, 0xA0, 0xFD, 0xFE, 0xFF};
  for (int b = 0; b < 256; ++b) {
    if (sjis::IsLeadByte(static_cast<uint8_t>(b))) continue;
    const auto theirs = cd.Convert(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(!theirs, refused.count(b) == 1) << std::hex << b;
    if (theirs) {
      EXPECT_EQ(cp932::DecodeSingle(static_cast<uint8_t>(b)), UnitOf(*theirs)) << b;
    }
  }
}

TEST(Cp932AgainstIconv, EveryUnitEncodesAsTheLibraryEncodesIt) {
  Iconv cd("CP932", "UTF-16LE");
  if (!cd.ok()) GTEST_SKIP() << "the C library has no CP932 converter";
  std::set<int> deliberate = DeliberateEncodings();
  // The five single bytes the library refuses to decode (above) it refuses to encode too.
  deliberate.insert({0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3});
  for (int u = 1; u < 0x10000; ++u) {
    if (u >= 0xD800 && u < 0xE000) continue;
    const uint16_t ours = cp932::Encode(static_cast<uint16_t>(u));
    const auto theirs = cd.Convert({static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)});
    if (!theirs) {
      if (ours != cp932::kUnmapped) {
        EXPECT_EQ(deliberate.count(u), 1u) << std::hex << u;
      }
      continue;
    }
    const uint16_t code = theirs->size() == 1
                              ? static_cast<uint8_t>((*theirs)[0])
                              : static_cast<uint16_t>(static_cast<uint8_t>((*theirs)[0]) << 8 |
                                                      static_cast<uint8_t>((*theirs)[1]));
    EXPECT_EQ(ours, code) << std::hex << u;
  }
}

}  // namespace
}  // namespace tessary

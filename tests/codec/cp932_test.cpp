// The generated code page 932 tables against the published table and the project's additions.
#include "codec/cp932.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "base/sjis.h"

namespace tessary {
namespace {

struct PublishedTable {
  std::map<int, int> single;   // byte -> unit
  std::map<int, int> pair;     // code -> unit
  std::map<int, int> wc;       // unit -> code
};

std::string DataPath(const char* name) {
  return std::string(TESSARY_SOURCE_DIR) + "/data/codepage/" + name;
}

// A reader independent of the generator: sections by their keywords, each read for the entry
// count its header gives (the second lead-byte range "0xe0 0xfc" stands after the table of lead
// 0x9F and is no entry of it), entries as two hex numbers, comments after ';'.
PublishedTable ReadPublished() {
  PublishedTable t;
  std::ifstream in(DataPath("bestfit932.txt"), std::ios::binary);
  EXPECT_TRUE(in) << "cannot read bestfit932.txt";
  std::string raw;
  enum { None, Mb, Db, Wc } section = None;
  int lead = 0, left = 0;
  while (std::getline(in, raw)) {
    const std::string line = raw.substr(0, raw.find(';'));
    std::istringstream words(line);
    std::string a, b;
    if (!(words >> a)) continue;
    if (a == "MBTABLE" || a == "DBCSTABLE" || a == "WCTABLE") {
      EXPECT_EQ(left, 0) << "a table ends short before " << raw;
      section = a == "MBTABLE" ? Mb : a == "DBCSTABLE" ? Db : Wc;
      words >> left;
      if (section == Db) lead = std::stoi(raw.substr(raw.find("LeadByte =") + 10), nullptr, 16);
    } else if (a.rfind("0x", 0) == 0 && (words >> b) && left > 0) {
      --left;
      const int x = std::stoi(a, nullptr, 16), y = std::stoi(b, nullptr, 16);
      if (section == Mb) t.single[x] = y;
      if (section == Db) t.pair[lead << 8 | x] = y;
      if (section == Wc) t.wc[x] = y;
    }
  }
  return t;
}

std::map<int, int> ReadTsv(const char* name) {
  std::map<int, int> out;
  std::ifstream in(DataPath(name));
  EXPECT_TRUE(in) << "cannot read " << name;
  std::string unit, code;
  in >> unit >> code;  // header
  while (in >> unit >> code) out[std::stoi(unit.substr(2), nullptr, 16)] = std::stoi(code, nullptr, 16);
  return out;
}

const PublishedTable& Published() {
  static const PublishedTable t = ReadPublished();
  return t;
}

TEST(Cp932Tables, PublishedTableIsComplete) {
  // Counts from the section headers: a short read would make the other tests vacuous.
  EXPECT_EQ(Published().single.size(), 196u);
  EXPECT_EQ(Published().wc.size(), 9486u);
  EXPECT_EQ(Published().pair.size(), 9609u);
}

TEST(Cp932Tables, SingleBytesDecodeAsPublished) {
  for (int b = 0; b < 256; ++b) {
    auto it = Published().single.find(b);
    if (it == Published().single.end()) {
      EXPECT_TRUE(sjis::IsLeadByte(static_cast<uint8_t>(b))) << std::hex << b;
      EXPECT_EQ(cp932::DecodeSingle(static_cast<uint8_t>(b)), 0) << std::hex << b;
    } else {
      EXPECT_EQ(cp932::DecodeSingle(static_cast<uint8_t>(b)), it->second) << std::hex << b;
    }
  }
}

TEST(Cp932Tables, EveryDoubleByteCodeDecodesAsPublishedElseToMiddleDot) {
  int listed = 0;
  for (int lead = 0; lead < 256; ++lead) {
    if (!sjis::IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const int code = lead << 8 | trail;
      auto it = Published().pair.find(code);
      const uint16_t got = cp932::DecodePair(static_cast<uint8_t>(lead), static_cast<uint8_t>(trail));
      if (it != Published().pair.end()) {
        ++listed;
        EXPECT_EQ(got, it->second) << std::hex << code;
      } else {
        EXPECT_EQ(got, 0x30FB) << std::hex << code;
      }
    }
  }
  EXPECT_EQ(listed, static_cast<int>(Published().pair.size()));
}

TEST(Cp932Tables, UserDefinedAreaMapsToPrivateUse) {
  EXPECT_EQ(cp932::DecodePair(0xF0, 0x40), 0xE000);
  EXPECT_EQ(cp932::DecodePair(0xF9, 0xFC), 0xE757);
  EXPECT_EQ(cp932::Encode(0xE000), 0xF040);
  EXPECT_EQ(cp932::Encode(0xE757), 0xF9FC);
}

TEST(Cp932Tables, EveryUnitEncodesAsPublishedPlusTheFiveJisReadings) {
  const std::map<int, int> variants = ReadTsv("cp932-jis-variants.tsv");
  ASSERT_EQ(variants.size(), 5u);
  for (int u = 0; u < 0x10000; ++u) {
    const uint16_t got = cp932::Encode(static_cast<uint16_t>(u));
    if (auto it = Published().wc.find(u); it != Published().wc.end()) {
      EXPECT_EQ(got, it->second) << "U+" << std::hex << u;
    } else if (auto v = variants.find(u); v != variants.end()) {
      EXPECT_EQ(got, v->second) << "U+" << std::hex << u;
    } else {
      EXPECT_EQ(got, cp932::kUnmapped) << "U+" << std::hex << u;
    }
  }
}

TEST(Cp932Tables, BestFitAndDuplicateChoices) {
  for (const auto& [unit, code] : ReadTsv("cp932-bestfit.tsv"))
    EXPECT_EQ(cp932::Encode(static_cast<uint16_t>(unit)), code) << "U+" << std::hex << unit;
  EXPECT_EQ(cp932::Encode(0x00A5), 0x5C);    // YEN SIGN, best fit
  EXPECT_EQ(cp932::Encode(0x2252), 0x81E0);  // JIS X 0208 over NEC row 13 (8790)
  EXPECT_EQ(cp932::Encode(0x2170), 0xFA40);  // IBM extension over NEC-selected EEEF
  EXPECT_EQ(cp932::Encode(0x301C), 0x8160);  // WAVE DASH, the project's addition
  EXPECT_EQ(cp932::Encode(0xFF5E), 0x8160);  // FULLWIDTH TILDE, the published mapping
  EXPECT_EQ(cp932::Encode(0xD83D), cp932::kUnmapped);  // a surrogate
}

TEST(Cp932Tables, OnlyControlUnitsEncodeToControlBytes) {
  // The decoders rely on this: only U+0000-U+001F can produce a line end or a zero byte.
  for (int u = 0x20; u < 0x10000; ++u) {
    const uint16_t c = cp932::Encode(static_cast<uint16_t>(u));
    EXPECT_FALSE(c < 0x20) << "U+" << std::hex << u;
  }
}

}  // namespace
}  // namespace tessary

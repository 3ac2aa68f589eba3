// Builds the code page 932 lookup tables from the generated data.
#include "codec/cp932.h"

#include <cstddef>
#include <memory>

#include "base/sjis.h"

namespace tessary::cp932 {
namespace {

#include "codec/cp932_tables.inc"

constexpr int LeadRow(int lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }

void BuildDecoding(Tables& t) {
  for (int b = 0; b < 256; ++b) t.single[b] = kSingleByteUnits[b];
  for (int code = 0; code < 65536; ++code) {
    const int lead = code >> 8, trail = code & 0xFF;
    uint16_t unit = 0;
    if (sjis::IsLeadByte(static_cast<uint8_t>(lead)) && IsTrailByte(static_cast<uint8_t>(trail))) {
      unit = kDoubleByteUnits[LeadRow(lead) * kTrailCount + (trail - kTrailFirst)];
      if (unit == 0) unit = kDefaultUnit;
    }
    t.pair[code] = unit;
  }
}

// The lowest code decoding to a unit, then the generated corrections. Only listed codes count:
// the default unit of unlisted codes is not an encoding of them.
void BuildEncoding(Tables& t) {
  for (auto& e : t.encode) e = kUnmapped;
  for (int code = 0xFFFF; code >= 0; --code) {
    uint16_t unit = 0;
    if (code < 0x100) {
      unit = kSingleByteUnits[code];
      if (unit == 0 && code != 0) continue;  // lead byte
    } else {
      const int lead = code >> 8, trail = code & 0xFF;
      if (!sjis::IsLeadByte(static_cast<uint8_t>(lead)) || !IsTrailByte(static_cast<uint8_t>(trail)))
        continue;
      unit = kDoubleByteUnits[LeadRow(lead) * kTrailCount + (trail - kTrailFirst)];
      if (unit == 0) continue;
    }
    t.encode[unit] = static_cast<uint16_t>(code);  // descending, so the lowest code stays
  }
  for (const auto& o : kEncodeOverrides) t.encode[o[0]] = o[1];
  for (size_t i = 0; i < kEncodeRemovalCount; ++i) t.encode[kEncodeRemovals[i]] = kUnmapped;
}

// A unit keeps its code in the loaders' table only when the code decodes back to the unit.
void BuildLoading(Tables& t) {
  for (int u = 0; u < 65536; ++u) {
    const uint16_t code = t.encode[u];
    uint16_t back = 0;
    if (code < 0x100)
      back = t.single[code];
    else if (code != kUnmapped)
      back = t.pair[code] == 0 ? kDefaultUnit : t.pair[code];
    t.load[u] = (code != kUnmapped && back == u) ? code : kUnmapped;
  }
}

std::unique_ptr<const Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  BuildDecoding(*t);
  BuildEncoding(*t);
  BuildLoading(*t);
  return t;
}

}  // namespace

const Tables& GetTables() {
  static const std::unique_ptr<const Tables> tables = BuildTables();
  return *tables;
}

}  // namespace tessary::cp932

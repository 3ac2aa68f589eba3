// A file decoded piece by piece must give exactly the whole load's lines, or say it could not.
#include "codec/streamed_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "codec/document_loader.h"
#include "codec/document_saver.h"
#include "support/test_files.h"
#include "support/utf8_text.h"

namespace tessary {
namespace {

using testing::TempDir;

// What a rewrite of the file gives through the pieces: the bytes, or nothing when the streamed
// load stopped or was not confirmed (the caller then loads the file whole).
struct Streamed {
  bool opened = false;
  std::optional<std::string> bytes;
  CharCode code = CharCode::SJIS;
  RetCode ret = RetCode::None;
  uint64_t replaced = 0;
};

// How the pieces are encoded: through their lines on one thread, or each piece on its own
// on a second thread.
enum class Way { Lines, Threaded };

// `eol` null: the line end the file has.
Streamed Stream(const std::string& path, CharCode read, CharCode to, size_t piece, Way way,
                const RetCode* eol = nullptr) {
  Streamed r;
  std::optional<StreamedText> text = StreamedText::Open(path, read, piece);
  if (!text) return r;
  r.opened = true;
  r.code = text->code();
  r.ret = text->ret();
  std::string out;
  const auto put = [&](std::string_view p) {
    out.append(p);
    return 0;
  };
  const CharCode code = to == CharCode::Auto ? text->code() : to;
  const RetCode ret = eol ? *eol : text->ret();
  const int rc = way == Way::Lines ? EncodeDocumentInPieces(text->Lines(), code, ret, put)
                                   : text->EncodeInPieces(code, ret, put);
  if (rc == 0 && !text->Stopped() && text->Confirmed()) r.bytes = out;
  r.replaced = text->replaced_chars();
  return r;
}

// The whole load and save, as the rewrite commands do them; nothing when they refuse.
std::optional<std::string> Whole(const std::string& path, CharCode read, CharCode to,
                                 const RetCode* eol, LoadedText* loaded) {
  Result<LoadedText> doc = LoadDocumentFile(path, read, WorkingFiles::Skip());
  if (!doc || doc.value().WriteProtected() || doc.value().NoTextObtained()) return std::nullopt;
  if (loaded) *loaded = doc.value();
  return EncodeDocument(doc.value().lines, to == CharCode::Auto ? doc.value().code : to,
                        eol ? *eol : doc.value().ret);
}

using testing::PutUtf8;

// A file that starts with Japanese (so its start decides the code) and goes on with lines of
// every kind; `fault` puts one thing a whole load treats as a whole-file fact somewhere after
// the start: a zero byte, an EOF mark, a bad UTF-8 sequence, or another line end.
std::string RandomFile(std::mt19937& rng, bool utf8, size_t length, int fault) {
  const char* ends[] = {"\r\n", "\r", "\n"};
  const std::string eol = ends[rng() % 3];
  std::string s =
      utf8 ? (rng() % 2 ? "\xEF\xBB\xBF" : "") + std::string("\xE3\x81\x82") : "\x82\xA0";
  while (s.size() < length) {
    const uint32_t kind = rng() % 100;
    if (kind < 40) {
      if (utf8)
        PutUtf8(s, 0x3041 + rng() % 0x53);
      else
        s += std::string{'\x82', static_cast<char>(0x9F + rng() % 0x50)};
    } else if (kind < 50) {
      if (utf8)
        PutUtf8(s, 0x4E00 + rng() % 0x5000);  // some have no code: "?"
      else
        s += std::string{static_cast<char>(0x88 + rng() % 0x10),
                         static_cast<char>(0x40 + rng() % 0xBC)};
    } else if (kind < 58) {
      s += eol;
    } else if (kind < 60) {
      s += std::string(rng() % 300, 'x');  // a long line, longer than small pieces
    } else if (kind < 62 && !utf8) {
      s += static_cast<char>(0x81 + rng() % 0x1F);  // a lead byte alone, or before a line end
    } else {
      s += static_cast<char>(0x20 + rng() % 0x5F);
    }
  }
  const size_t at = s.size() / 2 + rng() % (s.size() / 2);
  switch (fault) {
    case 1:
      s.insert(at, 1, '\0');
      break;
    case 2:
      s.insert(at, 1, '\x1A');
      break;
    case 3:
      s.insert(at, std::string(utf8 ? "\xE3\x81" : "\x82"));
      break;
    case 4:
      s.insert(at, 1, eol == "\n" ? '\r' : '\n');
      break;
    case 5:
      s += eol == "\r\n" ? "\n" : "\r\n";
      break;
    default:
      break;
  }
  return s;
}

TEST(StreamedText, GivesTheWholeLoadsBytesOrStops) {
  TempDir dir;
  std::mt19937 rng(5);
  int confirmed = 0, clean = 0;
  for (int round = 0; round < 400; ++round) {
    const bool utf8 = round % 2 == 0;
    const int fault = round % 3 == 0 ? static_cast<int>(rng() % 6) : 0;
    const std::string path = dir.Write("f.txt", RandomFile(rng, utf8, 200 + rng() % 3000, fault));
    // The file's own line end lets a Shift-JIS piece pass as it is; another one splits it.
    const RetCode other = static_cast<RetCode>(rng() % 4);
    const RetCode* eol = round % 4 == 1 ? &other : nullptr;
    for (const CharCode to :
         {CharCode::Auto, CharCode::SJIS, CharCode::UTF8, CharCode::UTF16BomLe}) {
      for (const size_t piece :
           {size_t{1}, size_t{3}, size_t{17}, size_t{256}, StreamedText::kPieceBytes}) {
        for (const Way way : {Way::Lines, Way::Threaded}) {
          SCOPED_TRACE(::testing::Message() << "round " << round << " piece " << piece << " way "
                                            << static_cast<int>(way));
          LoadedText doc;
          const std::optional<std::string> whole = Whole(path, CharCode::Auto, to, eol, &doc);
          const Streamed streamed = Stream(path, CharCode::Auto, to, piece, way, eol);
          // Every start here decides an 8-bit code; a zero byte or an EOF mark (a control byte) in
          // the start is seen at once.
          ASSERT_TRUE(streamed.opened || fault == 1 || fault == 2);
          if (!streamed.bytes) continue;
          ++confirmed;
          ASSERT_TRUE(whole) << "the whole load refuses what the pieces confirmed";
          EXPECT_EQ(streamed.code, doc.code);
          EXPECT_EQ(streamed.ret, doc.ret);
          EXPECT_EQ(streamed.replaced, doc.replaced_chars);
          ASSERT_EQ(*streamed.bytes, *whole);
        }
      }
    }
    if (fault == 0) ++clean;
  }
  // Files without a fault are confirmed on every piece size, target and way.
  EXPECT_GE(confirmed, clean * 4 * 5 * 2);
}

TEST(StreamedText, WholeFileFactsFoundLateStopOrUnconfirm) {
  TempDir dir;
  const std::string start = "\xE3\x81\x82\xE3\x81\x84\r\n";
  std::string body;
  for (int i = 0; i < 8000; ++i) body += "\xE3\x81\x86 line\r\n";  // past the start
  const auto confirmed = [&](const std::string& bytes,
                             CharCode read = CharCode::Auto) -> const char* {
    const std::string path = dir.Write("late.txt", bytes);
    // Both ways must agree: "both" or "neither".
    int count = 0;
    for (const Way way : {Way::Lines, Way::Threaded}) {
      std::optional<StreamedText> text = StreamedText::Open(path, read, 100);
      if (!text) return "unopened";
      const auto ignore = [](std::string_view) { return 0; };
      const int rc = way == Way::Lines ? EncodeDocumentInPieces(text->Lines(), CharCode::SJIS,
                                                                text->ret(), ignore)
                                       : text->EncodeInPieces(CharCode::SJIS, text->ret(), ignore);
      count += rc == 0 && text->Confirmed() ? 1 : 0;
    }
    return count == 2 ? "both" : count == 0 ? "neither" : "one";
  };
  EXPECT_STREQ(confirmed(start + body), "both");
  EXPECT_STREQ(confirmed(start + body + std::string("x\0y\r\n", 5)), "neither");  // a zero byte
  EXPECT_STREQ(confirmed(start + body + "\xE3\x81\r\n"), "neither");              // cut sequence
  EXPECT_STREQ(confirmed(start + body + "last\n"), "neither");                    // mixed ends
  EXPECT_STREQ(confirmed("\x82\xA0\n" + std::string(70000, 'a') + "\r\nb\r\n"),
               "neither");  // Lf, then CrLf
  EXPECT_STREQ(confirmed("\x82\xA0\r\n" + std::string(70000, 'a') + "\x1A" + "b\r\n"),
               "neither");  // EOF mark
}

TEST(StreamedText, OpensOnlyWhatItsStartDecides) {
  TempDir dir;
  const auto opens = [&](const std::string& bytes, CharCode read = CharCode::Auto) {
    return StreamedText::Open(dir.Write("s.txt", bytes), read).has_value();
  };
  EXPECT_TRUE(opens("\xE3\x81\x82\r\n"));
  EXPECT_TRUE(
      opens("\xEF\xBB\xBF"
            "abc\r\n"));                   // a mark decides
  EXPECT_FALSE(opens("plain ASCII\r\n"));  // no pattern yet
  EXPECT_FALSE(
      opens("\xFF\xFE"
            "a\0b\0",
            CharCode::Auto));                              // UTF-16
  EXPECT_FALSE(opens("\x82\xA0\x01\r\n"));                 // a control byte: unfit
  EXPECT_FALSE(opens("\x82\xA0\r\n", CharCode::UTF16Le));  // a 16-bit request
  EXPECT_FALSE(opens("\x82\xA0"));                         // under four bytes
  EXPECT_FALSE(StreamedText::Open(dir.File("missing.txt"), CharCode::Auto).has_value());
  // A pattern past the start is left to the whole load, which looks further.
  EXPECT_FALSE(opens(std::string(StreamedText::kStartBytes, 'a') + "\x82\xA0\r\n"));
}

}  // namespace
}  // namespace tessary

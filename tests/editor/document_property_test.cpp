// Random edits against a plain-text reference: text, line count, marks, rows and undo agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"
#include "fake_editor_view.h"

namespace tessary {
namespace {

using testing::FakeEditorView;

// Every CR, LF and CR LF becomes CR LF: the form in which the document gives its text back.
std::string Normalized(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      out += "\r\n";
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::string Escaped(std::string_view s) {
  std::string out;
  char buf[8];
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

int32_t LineCountOf(const std::string& text) {
  int32_t n = 0;
  size_t pos = 0, e;
  while ((e = text.find("\r\n", pos)) != std::string::npos) {
    ++n;
    pos = e + 2;
  }
  return n + (pos < text.size() ? 1 : 0);
}

// Byte offset in the joined text where row r begins.
size_t RowOffset(const TEditorScreenStrings& doc, int32_t r) {
  return doc.RowRangeText(0, r).Text.size();
}

struct Config {
  const char* name;
  bool wrap;
  bool rules;
  bool longLines = false;  // few line ends: lines of many rows, edits in their middle
};

class DocumentProperty : public ::testing::TestWithParam<Config> {};

void Configure(TEditorScreenStrings& doc, const Config& c) {
  doc.SetTabSpaceCount(4);
  doc.WrapOption().SetWrapByte(20);
  if (c.rules) {
    doc.WrapOption().SetFollowPunctuation(true);
    doc.WrapOption().SetLeading(true);
    doc.WrapOption().SetWordBreak(true);
    doc.WrapOption().SetFollowRetMark(true);
  }
  doc.SetWordWrap(c.wrap);
}

TEST_P(DocumentProperty, RandomEditsAgreeWithAPlainTextAndUndoRestoresEveryStep) {
  const Config cfg = GetParam();
  for (uint32_t seed = 1; seed <= 6; ++seed) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 rng(seed * 7919);
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  FakeEditorView view(doc);
  Configure(doc, cfg);
  const std::vector<std::string> pieces = {
      "a", "bc", "word", " ", "\t", "\x82\xA0", "\x82\xA2\x82\xA4", "\x81\x42", "\x81\x75",
      "\x81\x76", ",", ".", "\xB1", "\r\n", "\r\n", "\n", "\r", std::string(25, 'L')};
  auto randomText = [&](int maxPieces) {
    std::string s;
    const int n = static_cast<int>(rng() % (maxPieces + 1));
    for (int i = 0; i < n; ++i) {
      const std::string& p = pieces[rng() % pieces.size()];
      if (cfg.longLines && (p[0] == '\r' || p[0] == '\n') && rng() % 8 != 0) continue;
      s += p;
    }
    return s;
  };
  std::string original = Normalized(randomText(cfg.longLines ? 400 : 60));
  lines.SetTextStr(original);
  std::string text = original;
  ASSERT_EQ(lines.GetTextStr(), text);
  std::vector<std::string> history = {text};

  for (int step = 0; step < 700; ++step) {
    const int32_t rows = doc.Count();
    // Marks: a numbered mark moves to its new row; image marks may stand on several rows.
    if (rows > 0 && rng() % 4 == 0) {
      const int32_t r = static_cast<int32_t>(rng() % rows);
      const unsigned bit = rng() % 16;
      if (bit < 10) {
        for (int32_t i = 0; i < rows; ++i)
          doc.SetRowMarks(i, static_cast<MarkSet>(doc.GetRowMarks(i) & ~(1u << bit)));
      }
      doc.SetRowMarks(r, static_cast<MarkSet>(doc.GetRowMarks(r) | (1u << bit)));
      doc.IncludeMarks(static_cast<MarkSet>(1u << bit));
    }
    MarkSet before = 0;
    for (int32_t i = 0; i < doc.Count(); ++i) before |= doc.GetRowMarks(i);

    const int32_t start = static_cast<int32_t>(rng() % (rows + 1));
    const int32_t maxCount = std::min(rows - start, rng() % 8 == 0 ? 12 : 3);
    const int32_t count = maxCount > 0 ? static_cast<int32_t>(rng() % (maxCount + 1)) : 0;
    std::string ins = randomText(rng() % 3 == 0 ? 0 : 6);
    if (count == 0 && ins.empty()) ins = "z";
    view.caret_col = static_cast<int32_t>(rng() % 2);
    view.caret_row = start;

    const std::string was = text;
    const size_t from = RowOffset(doc, start);
    const size_t to = RowOffset(doc, start + count);
    doc.ReplaceRows(start, count, ins);
    text = Normalized(text.substr(0, from) + ins + text.substr(to));
    history.push_back(text);

    ASSERT_EQ(lines.GetTextStr(), text) << "step " << step << " ReplaceRows(" << start << ", "
                                        << count << ", \"" << Escaped(ins) << "\") on \"" << Escaped(was) << "\"";
    ASSERT_EQ(lines.Count(), LineCountOf(text)) << "step " << step;
    // Rows equal a full rewrap of the same text.
    TEditorScreenStrings fresh;
    TEditorStrings freshLines(fresh);
    Configure(fresh, cfg);
    freshLines.SetTextStr(text);
    if (doc.Count() != fresh.Count()) {
      std::string dump;
      for (int32_t i = 0; i < std::max(doc.Count(), fresh.Count()); ++i)
        dump += std::to_string(i) + ": " + (i < doc.Count() ? Escaped(doc.GetView(i)) + "/" + std::to_string(int(doc.GetRowAttribute(i))) : "-") +
                "  |  " + (i < fresh.Count() ? Escaped(fresh.GetView(i)) + "/" + std::to_string(int(fresh.GetRowAttribute(i))) : "-") + "\n";
      ADD_FAILURE() << "ReplaceRows(" << start << ", " << count << ", \"" << Escaped(ins) << "\") on \"" << Escaped(was) << "\"\n" << dump;
    }
    ASSERT_EQ(doc.Count(), fresh.Count()) << "step " << step;
    for (int32_t i = 0; i < doc.Count(); ++i) {
      ASSERT_EQ(doc.GetView(i), fresh.GetView(i)) << "step " << step << " row " << i;
      ASSERT_EQ(doc.GetRowAttribute(i), fresh.GetRowAttribute(i)) << "step " << step << " row " << i;
    }
    // Marks stay on some row while rows remain, numbered marks on one row each, and MarksInUse
    // holds every mark that stands on a row.
    MarkSet after = 0;
    std::vector<int> numbered(10, 0);
    for (int32_t i = 0; i < doc.Count(); ++i) {
      const MarkSet m = doc.GetRowMarks(i);
      after |= m;
      for (int b = 0; b < 10; ++b) numbered[b] += (m >> b) & 1;
    }
    if (doc.Count() > 0) {
      ASSERT_EQ(after, before) << "step " << step;
    }
    for (int b = 0; b < 10; ++b) ASSERT_LE(numbered[b], 1);
    ASSERT_EQ(static_cast<MarkSet>(after & ~doc.MarksInUse()), 0) << "step " << step;
    if (doc.Count() == 0) {
      ASSERT_EQ(doc.MarksInUse(), 0);
    }
    if (step % 50 == 49) {  // an undo and a redo in the middle leave the same text
      doc.Undo();
      ASSERT_EQ(lines.GetTextStr(), history[history.size() - 2]) << "step " << step;
      doc.Redo();
      ASSERT_EQ(lines.GetTextStr(), text) << "step " << step;
    }
  }
  // Undo every step, checking each intermediate text, then redo every step.
  for (size_t k = history.size() - 1; k > 0; --k) {
    ASSERT_TRUE(doc.UndoObj().CanUndo());
    doc.Undo();
    ASSERT_EQ(lines.GetTextStr(), history[k - 1]) << "undo to " << k - 1;
  }
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  EXPECT_EQ(lines.GetTextStr(), original);
  for (size_t k = 1; k < history.size(); ++k) {
    doc.Redo();
    ASSERT_EQ(lines.GetTextStr(), history[k]) << "redo to " << k;
  }
  EXPECT_FALSE(doc.UndoObj().CanRedo());
  EXPECT_EQ(lines.GetTextStr(), text);
  }
}

INSTANTIATE_TEST_SUITE_P(WrapModes, DocumentProperty,
                         ::testing::Values(Config{"Unwrapped", false, false},
                                           Config{"Wrapped", true, false},
                                           Config{"WrappedAllRules", true, true},
                                           Config{"LongLines", true, false, true},
                                           Config{"LongLinesAllRules", true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessary

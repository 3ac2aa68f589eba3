// Reserved-word and INI-section colouring over a headless control, with scripted dialogs.
#include "commands/reserved_words.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "codec/sjis_text.h"
#include "editor/editor_parser.h"
#include "editor/fountain_binding.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ScriptedMessages;
using testing::TempDir;

class FakePort final : public ReservedWordsPort {
 public:
  std::optional<std::string> ChooseWordFile(const ChooserStart& start) override {
    starts.push_back(start);
    if (files.empty()) return std::nullopt;
    std::optional<std::string> f = files.front();
    files.pop_front();
    return f;
  }
  std::optional<TColor> ChooseReserveColor(TColor current) override {
    colour_starts.push_back(current);
    return colour;
  }
  TColor NormalBackColor() const override { return background; }
  void SetReserveChecks(ReserveMode mode) override { checked = mode; }
  void SetWordFilePanel(std::string_view name) override { panel = std::string(name); }

  std::deque<std::optional<std::string>> files;  // answers of the open dialog, in order
  std::vector<ChooserStart> starts;
  std::optional<TColor> colour;
  std::vector<TColor> colour_starts;
  TColor background = clNavy;
  std::optional<ReserveMode> checked;
  std::string panel;
};

// Counts the re-colourings the scheme asks of its views.
class Recolourings final : public TFountainListener {
 public:
  void FountainChanged(const TFountain&) override { ++count; }
  void FountainRemoved(const TFountain&) override {}
  int count = 0;
};

struct Token {
  std::string text;
  int kind;
  const TFountainColor* color;
};

class ReservedWordsTest : public ::testing::Test {
 protected:
  ReservedWordsTest() {
    binding_.View().Colors().Reserve().SetColor(clRed);
    binding_.View().AddListener(&recolourings_);
  }
  ~ReservedWordsTest() override { binding_.View().RemoveListener(&recolourings_); }

  ReservedWords& Model(std::string stored_path = "") {
    model_ = std::make_unique<ReservedWords>(binding_.View(), control_, port_, messages_, ini_,
                                             std::move(stored_path));
    return *model_;
  }
  TEditorFountain& Scheme() { return binding_.View(); }
  // Chooses `path` in the open dialog of the read command.
  void Read(const std::string& path) {
    port_.files.push_back(path);
    model_->MenuReserveReadClick();
  }
  std::vector<Token> Tokens(std::string_view row) {
    TEditorParser p(Scheme());
    p.Start(row, {}, TRowAttributeData{});
    std::vector<Token> out;
    while (p.NextToken() != token::kEof)
      out.push_back({std::string(p.TokenHead()), p.EffectiveKind(), p.TokenColor()});
    return out;
  }
  std::string Shown(const char* what, const std::string& path) {
    std::string text = what;
    text += "\r\n";
    text += path;
    return text;
  }

  TempDir dir_;
  PrivateProfile ini_{dir_.File("settings.ini")};
  EditorControl control_;
  FountainBinding binding_{control_};
  FakePort port_;
  ScriptedMessages messages_;
  Recolourings recolourings_;
  std::unique_ptr<ReservedWords> model_;
};

TEST_F(ReservedWordsTest, IniModeHoldsOnePairWhateverTheRepeatsAndOtherModesRemoveIt) {
  ReservedWords& m = Model();
  EXPECT_EQ(m.Mode(), ReserveMode::NoSet);
  for (int i = 0; i < 5; ++i) m.MenuReseveIniSetClick();
  ASSERT_EQ(Scheme().Brackets().Count(), 1);
  const TFountainBracketItem& pair = Scheme().Brackets().Item(0);
  EXPECT_EQ(pair.LeftBracket(), "[");
  EXPECT_EQ(pair.RightBracket(), "]");
  EXPECT_EQ(pair.ItemColor().Color(), clRed);
  EXPECT_EQ(pair.ItemColor().BkColor(), clNone);  // choosing the mode sets only the colour
  EXPECT_EQ(port_.checked, ReserveMode::IniSet);
  EXPECT_EQ(m.Mode(), ReserveMode::IniSet);

  m.MenuReseveNoSetClick();
  EXPECT_EQ(Scheme().Brackets().Count(), 0);
  EXPECT_EQ(port_.checked, ReserveMode::NoSet);

  Read(dir_.Write("words.txt", "select\r\n"));
  m.MenuReseveIniSetClick();
  EXPECT_EQ(Scheme().ReserveWordList().Count(), 0);  // the words rest while sections show
  m.MenuReseveReserveSetClick();
  EXPECT_EQ(Scheme().Brackets().Count(), 0);
  EXPECT_EQ(Scheme().ReserveWordList().Count(), 1);
  EXPECT_EQ(port_.checked, ReserveMode::ReserveSet);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ReservedWordsTest, LoadedWordColourTheirTokensInAnyCaseButNotLongerWords) {
  ReservedWords& m = Model();
  const std::string path = dir_.Write("words.txt", "select\nfrom\n");
  Read(path);
  EXPECT_EQ(m.Mode(), ReserveMode::ReserveSet);
  EXPECT_EQ(port_.checked, ReserveMode::ReserveSet);
  EXPECT_EQ(port_.panel, "words.txt");
  EXPECT_EQ(m.LoadedFile(), path);
  const std::vector<Token> t = Tokens("SELECT Select selected");
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[0].kind, token::kReserve);
  EXPECT_EQ(t[0].color, &Scheme().Reserve());
  EXPECT_EQ(t[1].kind, token::kReserve);
  EXPECT_EQ(t[2].kind, token::kAnk);
  EXPECT_NE(t[2].color, &Scheme().Reserve());
  // The path is remembered for the next start, in Shift-JIS like the other remembered paths.
  EXPECT_EQ(ReadProfilePath(ini_, kReserveSection), path);
  // Switching the colouring off keeps the words for later.
  m.MenuReseveNoSetClick();
  EXPECT_EQ(Tokens("select")[0].kind, token::kAnk);
  EXPECT_EQ(m.Words(), (std::vector<std::string>{"select", "from"}));
  m.MenuReseveReserveSetClick();
  EXPECT_EQ(Tokens("FROM")[0].kind, token::kReserve);
}

// A failed read leaves the words, the mode, the panel and the stored path as they were, so the
// colours shown always belong to the file the panel names; the next dialog starts on the file
// that failed.
TEST_F(ReservedWordsTest, ShiftJisOrMissingWordFileIsNamedAndTheLoadedWordsStay) {
  ReservedWords& m = Model();
  const std::string good = dir_.Write("good.txt", "select\r\n");
  Read(good);
  const std::string sjis = dir_.Write("sjis.txt", Utf8ToSjis("予約語\r\nselect\r\n"));
  Read(sjis);
  const std::string missing = dir_.File("missing.txt");
  Read(missing);
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{Shown(kWordFileNotUtf8Message, sjis),
                                                       Shown(kWordFileMissingMessage, missing)}));
  EXPECT_EQ(m.Words(), std::vector<std::string>{"select"});
  EXPECT_EQ(m.LoadedFile(), good);
  EXPECT_EQ(port_.panel, "good.txt");
  EXPECT_EQ(m.Mode(), ReserveMode::ReserveSet);
  EXPECT_EQ(Tokens("Select")[0].kind, token::kReserve);
  EXPECT_EQ(ReadProfilePath(ini_, kReserveSection), good);
  ASSERT_EQ(port_.starts.size(), 3u);
  EXPECT_EQ(port_.starts[2], ChooserStartOf(sjis));
  EXPECT_EQ(m.WordFilePath(), missing);

  // A folder is no word file either.
  Read(dir_.path());
  EXPECT_EQ(messages_.shown.back(), Shown(kWordFileUnreadableMessage, dir_.path()));
  EXPECT_EQ(m.LoadedFile(), good);
}

TEST_F(ReservedWordsTest, AsciiWordFileLoadsWhateverItsCodeWasMeantToBe) {
  // Plain ASCII is the same in Shift-JIS and UTF-8.
  ReservedWords& m = Model();
  Read(dir_.Write("ascii.txt", Utf8ToSjis("begin\r\nend")));
  EXPECT_EQ(m.Words(), (std::vector<std::string>{"begin", "end"}));
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ReservedWordsTest, WordFileLinesInEveryLineEndWithOrWithoutMark) {
  EXPECT_EQ(WordsOfWordFile("\xEF\xBB\xBF"
                            "one\r\ntwo\rthree\nfour"),
            (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(WordsOfWordFile("a\r\n\r\n\nb\r\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(WordsOfWordFile(""), std::vector<std::string>{});
  // Japanese in UTF-8 becomes Shift-JIS; what Shift-JIS cannot hold becomes "?".
  EXPECT_EQ(WordsOfWordFile("予約\r\n한\r\n"), (std::vector<std::string>{Hex("975C 96F1"), "?"}));
  // The mark counts only at the very start; elsewhere it is a character without a Shift-JIS form.
  EXPECT_EQ(WordsOfWordFile("a\r\n\xEF\xBB\xBF"
                            "b"),
            (std::vector<std::string>{"a", "?b"}));
  EXPECT_EQ(WordsOfWordFile(Hex("82A0 82A2")), std::nullopt);  // Shift-JIS hiragana
  EXPECT_EQ(WordsOfWordFile("ok\r\n\xC0\x80"), std::nullopt);  // an overlong form

  ReservedWords& m = Model();
  Read(dir_.Write("bom.txt",
                  "\xEF\xBB\xBF"
                  "if\rthen\r\nelse"));
  EXPECT_EQ(m.Words(), (std::vector<std::string>{"if", "then", "else"}));
  EXPECT_EQ(Tokens("IF")[0].kind, token::kReserve);
}

TEST_F(ReservedWordsTest, NoWordsMeansMessageAndNothingChanges) {
  ReservedWords& m = Model();
  m.MenuReseveIniSetClick();
  port_.checked = ReserveMode::ReserveSet;  // the menu checks the clicked item on its own
  m.MenuReseveReserveSetClick();
  EXPECT_EQ(messages_.shown, std::vector<std::string>{kNoReservedWordsMessage});
  EXPECT_EQ(m.Mode(), ReserveMode::IniSet);
  EXPECT_EQ(port_.checked, ReserveMode::IniSet);
  EXPECT_EQ(Scheme().Brackets().Count(), 1);

  // A word file without words reads as none; the mode and the (empty) panel stay.
  Read(dir_.Write("empty.txt", "\xEF\xBB\xBF\r\n\r\n"));
  EXPECT_EQ(messages_.shown.back(), kNoReservedWordsMessage);
  EXPECT_EQ(m.Mode(), ReserveMode::IniSet);
  EXPECT_EQ(port_.panel, "");
  EXPECT_EQ(ReadProfilePath(ini_, kReserveSection), "");
}

TEST_F(ReservedWordsTest, CancelledDialogsChangeNothing) {
  ReservedWords& m = Model("/stored/folder/words.txt");
  m.MenuReserveReadClick();
  m.MenuReserveColorClick();
  ASSERT_EQ(port_.starts.size(), 1u);
  EXPECT_EQ(port_.starts[0], (ChooserStart{"/stored/folder", "words.txt"}));
  EXPECT_EQ(port_.colour_starts, std::vector<TColor>{clRed});
  EXPECT_EQ(m.WordFilePath(), "/stored/folder/words.txt");
  EXPECT_EQ(recolourings_.count, 0);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(port_.checked, std::nullopt);
  EXPECT_EQ(Scheme().Reserve().Color(), clRed);
}

TEST_F(ReservedWordsTest, ColourChangeInIniModeRecoloursSectionHeadersAtOnce) {
  ReservedWords& m = Model();
  port_.colour = clLime;
  m.MenuReserveColorClick();  // outside the INI mode only the reserved-word colour changes
  EXPECT_EQ(Scheme().Reserve().Color(), clLime);
  EXPECT_EQ(m.ReserveColor(), clLime);

  m.MenuReseveIniSetClick();
  control_.Lines().SetTextStr("[Options]\r\nkey=1\r\n");
  std::vector<Token> t = Tokens("[Options]");
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].kind, token::kBracket);
  EXPECT_EQ(t[0].color->Color(), clLime);

  port_.colour = clFuchsia;
  recolourings_.count = 0;
  m.MenuReserveColorClick();
  EXPECT_EQ(recolourings_.count, 1);
  const TFountainColor& pair = Scheme().Brackets().Item(0).ItemColor();
  EXPECT_EQ(pair.Color(), clFuchsia);
  EXPECT_EQ(pair.BkColor(), clNavy);  // the normal background
  EXPECT_EQ(Tokens("[Options]")[0].color->Color(), clFuchsia);
  EXPECT_EQ(Scheme().Reserve().Color(), clFuchsia);
  // Choosing the mode again keeps the pair as it is.
  m.MenuReseveIniSetClick();
  EXPECT_EQ(Scheme().Brackets().Item(0).ItemColor().BkColor(), clNavy);
}

// The trail byte of "ゾ" (83 5D) is the byte of "]": it must not close the section.
TEST_F(ReservedWordsTest, SectionSpansStepOverDoubleByteCharacters) {
  ReservedWords& m = Model();
  m.MenuReseveIniSetClick();
  control_.Lines().SetTextStr(Hex("5B 835D 0D0A") + "x]\r\ny\r\n");
  EXPECT_EQ(control_.Document().GetBracketIndex(1), 0);  // still open after "[ゾ"
  EXPECT_EQ(control_.Document().GetBracketIndex(2), kNoBracket);
  const std::vector<Token> t = Tokens(Hex("5B 835D 5D"));
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].text, Hex("5B 835D 5D"));
}

TEST_F(ReservedWordsTest, EachCommandRecoloursOnceAndKeepsTheTopRow) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "[s]\r\nselect\r\n";
  control_.SetVisibleSize(30, 80);
  control_.Lines().SetTextStr(text);
  control_.SetTopRow(1500);
  ReservedWords& m = Model();
  const std::string words = dir_.Write("w.txt", "select\r\n");
  const auto once = [&](auto command) {
    recolourings_.count = 0;
    command();
    EXPECT_EQ(recolourings_.count, 1);
    EXPECT_EQ(control_.TopRow(), 1500);
  };
  once([&] { m.MenuReseveIniSetClick(); });
  once([&] { Read(words); });
  once([&] { m.MenuReseveIniSetClick(); });
  port_.colour = clGreen;
  once([&] { m.MenuReserveColorClick(); });
  once([&] { m.MenuReseveReserveSetClick(); });
  once([&] { m.MenuReseveNoSetClick(); });
}

}  // namespace
}  // namespace tessary

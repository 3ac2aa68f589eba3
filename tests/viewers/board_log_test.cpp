// The board log viewer without windows: post and thread rules, the index file, stale indexes,
// selection by line, the layout and the formatter.
#include "viewers/board_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/sjis_text.h"
#include "editor/editor_control.h"
#include "platform/private_profile.h"
#include "support/scripted_messages.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;
using testing::ScriptedMessages;
using testing::TempDir;

std::string S(std::string_view utf8) {
  return Utf8ToSjis(utf8);
}

TextLines Log(const std::vector<std::string>& utf8_lines) {
  TextLines t;
  for (const std::string& l : utf8_lines) t.AddLine(S(l));
  return t;
}

std::string Header(std::string_view title) {
  std::string h(title);
  h += " 投稿者：名無し 投稿日：2024/01/02";
  return h;
}

std::vector<std::string> Lines(const TextLines& t) {
  std::vector<std::string> out;
  for (size_t i = 0; i < t.Count(); ++i) out.push_back(SjisToUtf8(t.Line(i)));
  return out;
}

// ---- rules ----

TEST(BoardRules, HeadersTitlesNavigationAndReplies) {
  EXPECT_TRUE(IsPostHeader(S(Header("Hello"))));
  EXPECT_FALSE(IsPostHeader(S("Hello 投稿者：名無し")));
  EXPECT_FALSE(IsPostHeader(S("投稿日だけ")));
  EXPECT_EQ(SjisToUtf8(PostTitle(S(Header("Re: Hello")))), "Re: Hello ");
  EXPECT_EQ(PostTitle("no poster here"), "");
  EXPECT_TRUE(IsNavigationLine(S("《前のページ | 次のページ》")));
  EXPECT_TRUE(IsNavigationLine(S("ここまで以上は、新着順です")));
  EXPECT_TRUE(IsNavigationLine(S("新着の記事から表示")));
  EXPECT_FALSE(IsNavigationLine(S("前のページ")));
  EXPECT_EQ(ThreadTitle(S("Re: Hello ")), "Hello");
  EXPECT_EQ(ThreadTitle(S("RE:Re: Hello")), "Hello");
  EXPECT_EQ(ThreadTitle(S(" Hello Re: again")), S("Hello  again"));
  EXPECT_EQ(ThreadTitle("re: lower"), "re: lower");
}

// The bytes of 投稿者 and of "[" can sit inside other double-byte characters: not a match.
TEST(BoardRules, WordsCountOnlyOnWholeCharacters) {
  // ％ (81 93) swallows the first byte of 投 (93 8A): what follows reads 譖 e 者.
  const std::string trapped = Hex("81 93 8A 8D 65 8E D2") + Hex("81 93 8A 8D 65 93 FA");
  ASSERT_NE(trapped.find(S("投稿者")), std::string::npos);
  EXPECT_FALSE(IsPostHeader(trapped));
  EXPECT_TRUE(IsPostHeader(Hex("81 93 20") + S("投稿者 投稿日")));
  // Ｒ (82 71) ends in "q"; 82 52 ends in "R": "e:" after it is no reply mark.
  const std::string r_trail = Hex("82 52") + "e: x";
  EXPECT_FALSE(IsReplyTitle(r_trail.substr(0)));
  EXPECT_EQ(ThreadTitle(r_trail), r_trail);
  EXPECT_EQ(FindOnChars(Hex("82 52 82 52") + "R", "R"), 4u);
  EXPECT_EQ(FindOnChars("abc", ""), 0u);
}

// ---- the index ----

std::vector<std::string> SampleLog() {
  return {"《前のページ",      Header("Hello"),    "本文一",        Header("Re: Hello"),   "本文二",
          "《前のページ 次》", Header("RE:Hello"), "本文三",        Header("Hello again"), "本文四",
          Header("Other"),     "本文五",           "以上は、新着順"};
}

TEST(BoardIndex, PostsEndBeforeTheNextHeaderAndTheLogsLastLine) {
  const TextLines log = Log(SampleLog());
  const std::vector<LogEntry> index = BuildBoardIndex(log, {}, "/logs/board.txt");
  ASSERT_EQ(index.size(), 6u);
  EXPECT_EQ(index[0], (LogEntry{S(Header("Hello")), 1, 3}));
  EXPECT_EQ(index[4], (LogEntry{S(Header("Other")), 10, 12}));
  EXPECT_EQ(index[5], (LogEntry{"board.txt", 12, 12}));
  BoardLogModel model(log, "/logs/board.txt");
  ASSERT_EQ(model.Load(std::nullopt, {}), BoardLogModel::IndexSource::Built);
  // The navigation line inside the second post and the log's last line never show.
  EXPECT_EQ(Lines(model.PostOf(1)), (std::vector<std::string>{Header("Re: Hello"), "本文二"}));
  EXPECT_EQ(Lines(model.PostOf(4)), (std::vector<std::string>{Header("Other"), "本文五"}));
  EXPECT_TRUE(model.PostOf(5).Empty());
  EXPECT_EQ(model.CountsLabel(BoardMode::All), "6/13/13");
  EXPECT_EQ(model.CountsLabel(BoardMode::Thread), "4/13/13");
  EXPECT_EQ(BoardLogModel::IndexingLabel(101, 13), "101/13(&I)");
}

TEST(BoardIndex, SkipTitlesLeaveOnlyWhenTheIndexIsBuiltAgain) {
  const TextLines log = Log(SampleLog());
  BoardLogModel model(log, "board.txt");
  const std::string stored = IndexFileText(BuildBoardIndex(log, {}, "board.txt"));
  const SkipTitles skip = SkipTitlesOf(S(Header("Other")) + "\r\n\r\n");
  EXPECT_EQ(skip.size(), 1u);
  ASSERT_EQ(model.Load(stored, skip), BoardLogModel::IndexSource::Stored);
  EXPECT_EQ(model.Entries().size(), 6u);
  BoardLogModel renamed(log, "/elsewhere/copy.txt");
  ASSERT_EQ(renamed.Load(stored, skip), BoardLogModel::IndexSource::Stored);
  EXPECT_EQ(renamed.Entries().back().header, "copy.txt");
  model.Rebuild(skip);
  ASSERT_EQ(model.Entries().size(), 5u);
  EXPECT_EQ(model.Entries()[3].next, 12);  // "Hello again" now runs to the end
}

TEST(BoardIndexFile, WrittenInFieldsAndReadBackFromTheLastTwoTabs) {
  const std::vector<LogEntry> entries = {{"a\tb", 3, 120000}, {"log.txt", 120000, 120000}};
  const std::string text = IndexFileText(entries);
  EXPECT_EQ(text, "a\tb\t00003\t120000\r\nlog.txt\t120000\t120000\r\n");
  EXPECT_EQ(ParseIndexText(text), entries);
  EXPECT_EQ(ParseIndexText(""), std::vector<LogEntry>{});
  EXPECT_EQ(ParseIndexText("only one\t00001\r\n"), std::nullopt);
  EXPECT_EQ(ParseIndexText("x\t00001\tabc\r\n"), std::nullopt);
  EXPECT_EQ(ParseIndexText("x\t-1\t00002\r\n"), std::nullopt);
}

TEST(BoardIndexFile, AHeaderHoldingATabIsIndexedAndReused) {
  const TextLines log = Log({Header("A\tB"), "body", "end"});
  BoardLogModel model(log, "t.txt");
  const std::string stored = IndexFileText(BuildBoardIndex(log, {}, "t.txt"));
  ASSERT_EQ(model.Load(stored, {}), BoardLogModel::IndexSource::Stored);
  EXPECT_EQ(SjisToUtf8(model.Entry(0).header), Header("A\tB"));
  EXPECT_EQ(Lines(model.PostOf(0)), (std::vector<std::string>{Header("A\tB"), "body"}));
}

// A stored index is reused only for the log it was built from; anything else is rebuilt and
// never shows another log's posts or reaches past the end.
TEST(BoardIndexFile, StaleIndexesAreRebuilt) {
  const TextLines log = Log(SampleLog());
  const std::string own = IndexFileText(BuildBoardIndex(log, {}, "board.txt"));
  std::vector<std::string> changed = SampleLog();
  changed[1] = Header("Changed");  // same line count, other text
  const TextLines other = Log(changed);
  BoardLogModel same_count(other, "board.txt");
  EXPECT_EQ(same_count.Load(own, {}), BoardLogModel::IndexSource::Built);
  EXPECT_EQ(SjisToUtf8(same_count.Entry(0).header), Header("Changed"));

  const TextLines foreign =
      Log({Header("X"), "x", "y", "z", "w", "v", "u", "t", "s", "r", "q", "p", "o"});
  BoardLogModel from_other_log(foreign, "f.txt");
  EXPECT_EQ(from_other_log.Load(own, {}), BoardLogModel::IndexSource::Built);
  EXPECT_EQ(from_other_log.Entries().size(), 2u);

  const std::string past_end =
      EntryLine({S(Header("Hello")), 50, 12}) + "\r\n" + EntryLine({"board.txt", 12, 12});
  BoardLogModel beyond(log, "board.txt");
  EXPECT_EQ(beyond.Load(past_end, {}), BoardLogModel::IndexSource::Built);
  EXPECT_EQ(beyond.Entries().size(), 6u);

  BoardLogModel malformed(log, "board.txt");
  EXPECT_EQ(malformed.Load("no tabs\r\n", {}), BoardLogModel::IndexSource::Invalid);
  EXPECT_TRUE(malformed.Entries().empty());
  EXPECT_TRUE(malformed.AllRows().empty());
}

// ---- threads and selection ----

TEST(BoardThreads, MembersByContainmentStartersWithoutReplies) {
  const TextLines log = Log(SampleLog());
  BoardLogModel model(log, "board.txt");
  (void)model.Load(std::nullopt, {});
  EXPECT_EQ(model.StarterRows(), (std::vector<int32_t>{0, 3, 4, 5}));  // the closing one too
  model.SetThreadOrder(ThreadOrder::Desend);
  model.FillThread(0);
  EXPECT_EQ(model.MemberRows(), (std::vector<int32_t>{0, 1, 2, 3}));  // "Hello again" too
  model.SetThreadOrder(ThreadOrder::Assend);
  model.FillThread(0);
  EXPECT_EQ(model.MemberRows(), (std::vector<int32_t>{3, 2, 1, 0}));
  model.FillThread(5);  // the closing entry's empty title matches nothing
  EXPECT_TRUE(model.MemberRows().empty());
}

TEST(BoardThreads, SelectionGoesByLineAndByWholeThreadTitle) {
  const TextLines log = Log({Header("Hello World"), "a", Header("Hello"), "b", Header("Re: Hello"),
                             "c", Header("Hello") + "1", "d", "end"});
  BoardLogModel model(log, "t.txt");
  (void)model.Load(std::nullopt, {});
  // "Re: Hello" belongs to "Hello", not to the earlier "Hello World" that begins the same.
  EXPECT_EQ(model.StarterFor(2), 1);
  EXPECT_EQ(model.StarterFor(0), 0);
  // A header that is a prefix of another: the line decides.
  EXPECT_EQ(model.EntryAtLine(2), 1);
  EXPECT_EQ(model.EntryAtLine(6), 3);
  EXPECT_EQ(model.EntryAtLine(3), -1);
  EXPECT_EQ(model.EntryAtLine(8), -1);  // the closing entry's line is no header
}

TEST(BoardThreads, SortedListsIgnoreLetterCase) {
  const TextLines log = Log({Header("beta"), Header("Alpha"), Header("Re: alpha"), "end"});
  BoardLogModel model(log, "t.txt");
  (void)model.Load(std::nullopt, {});
  model.SetOrder(IndexOrder::Sorted);
  EXPECT_EQ(model.AllRows(), (std::vector<int32_t>{1, 0, 2, 3}));
  EXPECT_EQ(model.StarterRows(), (std::vector<int32_t>{1, 0, 3}));
  EXPECT_EQ(BoardLogModel::RowOf(model.AllRows(), 2), 2);
  model.SetOrder(IndexOrder::Unsorted);
  EXPECT_EQ(model.AllRows(), (std::vector<int32_t>{0, 1, 2, 3}));
}

// ---- layout, settings, opening ----

TEST(BoardLayout, LeavingAndReturningKeepsTheIndexSidesProportion) {
  BoardLayoutMemory memory;
  EXPECT_EQ(memory.Choose(BoardLayout::Both, 200, 800), (LayoutWidths{200, 5}));
  EXPECT_EQ(memory.Choose(BoardLayout::LogOnly, 200, 800), (LayoutWidths{1, 0}));
  // The window grew meanwhile: the side keeps a quarter of it.
  EXPECT_EQ(memory.Choose(BoardLayout::Both, 1, 1000), (LayoutWidths{250, 5}));
  EXPECT_EQ(memory.Choose(BoardLayout::IndexOnly, 250, 1000), (LayoutWidths{980, 0}));
  // From index only to log only the 1-pixel rule keeps what index only remembered.
  EXPECT_EQ(memory.Choose(BoardLayout::LogOnly, 980, 1000), (LayoutWidths{1, 0}));
  EXPECT_EQ(memory.Choose(BoardLayout::Both, 1, 1000), (LayoutWidths{980, 5}));
}

TEST(BoardSettings, ReadWithDefaultsAndWrittenBack) {
  TempDir dir;
  PrivateProfile ini(dir.File("t.ini"));
  EXPECT_EQ(ReadBoardSettings(ini), BoardSettings{});
  const BoardSettings s{BoardMode::Thread, ThreadOrder::Desend};
  ASSERT_TRUE(WriteBoardSettings(ini, s).ok());
  EXPECT_EQ(ReadBoardSettings(ini), s);
  EXPECT_EQ(ini.ReadString("OstrBoard", "All", ""), "0");
}

TEST(LogViewerOpening, EmptyTextRefusedOtherFileAsked) {
  ScriptedMessages m;
  EXPECT_EQ(MayOpenLogViewer(true, "a", "a", m), Proceed::No);
  EXPECT_EQ(m.shown, (std::vector<std::string>{"内容がありません"}));
  EXPECT_EQ(MayOpenLogViewer(false, "a", "a", m), Proceed::Yes);
  m.answers = {Answer::No, Answer::Yes};
  EXPECT_EQ(MayOpenLogViewer(false, "a", "b", m), Proceed::No);
  EXPECT_EQ(MayOpenLogViewer(false, "", "b", m), Proceed::Yes);
  EXPECT_EQ(m.asked.back(), "前回のファイル名と違いますが、表示しますか？");
}

// ---- the formatter ----

std::vector<std::string> EditorLines(EditorControl& c) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < c.Lines().Count(); ++i) out.push_back(SjisToUtf8(c.Lines().Get(i)));
  return out;
}

void SetText(EditorControl& c, std::string_view utf8) {
  c.Lines().SetTextStr(S(utf8));
  c.SetModified(false);
}

TEST(BoardFormatter, KeepsTheLinesBetweenTheNavigationLinesAsOneUndoStep) {
  EditorControl c;
  ScriptedMessages m;
  const std::string page = "head\r\n《前のページ 1\r\nA\r\nB\r\n《前のページ 2\r\ntail\r\n";
  SetText(c, page);
  c.SetCaret(4, 0);
  EXPECT_EQ(MenuOstrBoardSeikeiClick(c, m), FormatOutcome::Done);
  EXPECT_EQ(EditorLines(c), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(c.Modified());
  EXPECT_EQ(c.CaretRow(), 0);
  EXPECT_EQ(c.TopRow(), 0);
  c.Undo();
  EXPECT_EQ(c.Text(), S(page));
  EXPECT_TRUE(m.shown.empty());
}

TEST(BoardFormatter, OneOrNoNavigationLinesAndRefusals) {
  EditorControl c;
  ScriptedMessages m;
  SetText(c, "a\r\n《前のページ\r\nb\r\nc\r\nlast");
  (void)MenuOstrBoardSeikeiClick(c, m);
  EXPECT_EQ(EditorLines(c), (std::vector<std::string>{"b", "c"}));
  SetText(c, "first\r\nb\r\nc\r\nlast\r\n");  // none: the first and the last line go
  (void)MenuOstrBoardSeikeiClick(c, m);
  EXPECT_EQ(EditorLines(c), (std::vector<std::string>{"b", "c"}));
  SetText(c, "");
  EXPECT_EQ(MenuOstrBoardSeikeiClick(c, m), FormatOutcome::Empty);
  SetText(c, "a\r\nb\r\nc\r\n");
  c.SetReadOnly(true);
  EXPECT_EQ(MenuOstrBoardSeikeiClick(c, m), FormatOutcome::Refused);
  EXPECT_EQ(m.shown, (std::vector<std::string>{"書込禁止なので操作は無効です"}));
  EXPECT_EQ(EditorLines(c), (std::vector<std::string>{"a", "b", "c"}));
}

}  // namespace
}  // namespace tessary

// The hand-off to the Unicode CSV library: its calls in order, and the messages of each failure.
#include "app/csv_list_utf_handoff.h"

#include <gtest/gtest.h>

#include <map>

#include "support/scripted_messages.h"
#include "support/test_files.h"
#include "viewers/csv_list_utf_api.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;

// What the fake library's exports saw, in order.
std::vector<std::string> calls;

void FakeOpen(void* owner, int reserved) {
  calls.push_back("OpenForm " + std::to_string(owner != nullptr) + " " + std::to_string(reserved));
}
void FakeStart(void*, const TessaryNativePathChar* path) {
  std::string call = "Start ";
  call += path;
  calls.push_back(call);
}
void FakeClose(void*) {
  calls.push_back("CloseForm");
}

class FakeLibrary final : public LoadedLibrary {
 public:
  explicit FakeLibrary(std::map<std::string, void*> exports) : exports_(std::move(exports)) {}
  ~FakeLibrary() override { calls.push_back("unloaded"); }
  void* Symbol(std::string_view name) const override {
    auto it = exports_.find(std::string(name));
    return it == exports_.end() ? nullptr : it->second;
  }

 private:
  std::map<std::string, void*> exports_;
};

class FakeLoader final : public LibraryLoader {
 public:
  Result<std::unique_ptr<LoadedLibrary>> Load(const std::string& path) override {
    std::string call = "load ";
    call += path;
    calls.push_back(call);
    return std::unique_ptr<LoadedLibrary>(std::make_unique<FakeLibrary>(exports));
  }
  std::map<std::string, void*> exports = {{"OpenForm", reinterpret_cast<void*>(&FakeOpen)},
                                          {"Start", reinterpret_cast<void*>(&FakeStart)},
                                          {"CloseForm", reinterpret_cast<void*>(&FakeClose)}};
};

class CsvListUtfHandoffTest : public ::testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
  testing::TempDir dir;
  ScriptedMessages messages;
  FakeLoader loader;
  int owner = 0;
};

TEST_F(CsvListUtfHandoffTest, OpenFormThenStartWithTheWholePathAndCloseFormAtExit) {
  // A long path with blanks and Japanese: passed whole, not cut at 255 Shift-JIS bytes.
  std::string name(200, 'x');
  name += " 日本語 ファイル.csv";
  const std::string path = dir.Write(name, "a,b\n");
  CsvListUtfHandoff h(loader, messages, "/opt/CsvListUtf.so");
  EXPECT_FALSE(h.Loaded());
  h.Close(&owner);  // never loaded: nothing at all
  EXPECT_TRUE(calls.empty());
  h.Show(&owner, path);
  h.Show(&owner, path);  // each use loads again and keeps the latest load
  EXPECT_TRUE(h.Loaded());
  h.Close(&owner);
  EXPECT_FALSE(h.Loaded());
  const std::vector<std::string> want = {"load /opt/CsvListUtf.so", "OpenForm 1 0", "Start " + path,
                                         "load /opt/CsvListUtf.so", "unloaded",     "OpenForm 1 0",
                                         "Start " + path,           "CloseForm",    "unloaded"};
  EXPECT_EQ(calls, want);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(CsvListUtfHandoffTest, NoDocumentFileStopsBeforeLoading) {
  CsvListUtfHandoff h(loader, messages, "lib.so");
  h.Show(&owner, "");
  h.Show(&owner, dir.File("gone.csv"));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"読み込むファイルがありません",
                                                      "読み込むファイルがありません"}));
}

TEST_F(CsvListUtfHandoffTest, EachMissingExportIsNamedAndStopsTheSteps) {
  const std::string path = dir.Write("a.csv", "a\n");
  loader.exports.erase("Start");
  loader.exports.erase("CloseForm");
  CsvListUtfHandoff h(loader, messages, "lib.so");
  h.Show(&owner, path);
  h.Close(&owner);
  EXPECT_EQ(calls, (std::vector<std::string>{"load lib.so", "OpenForm 1 0", "unloaded"}));
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"DLL のアドレスが取得できません\r\nStart",
                                      "DLL のアドレスが取得できません\r\nCloseForm"}));
  calls.clear();
  messages.shown.clear();
  loader.exports.erase("OpenForm");
  h.Show(&owner, path);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"DLL のアドレスが取得できません\r\nOpenForm"}));
}

// The real loader: a library file that is not there, and a real library without two exports.
TEST_F(CsvListUtfHandoffTest, RealLoaderTellsAMissingLibraryAndAMissingExport) {
  SystemLibraryLoader system;
  const std::string path = dir.Write("a.csv", "a\n");
  CsvListUtfHandoff missing(system, messages, CsvListUtfLibraryPath(dir.path()));
  missing.Show(&owner, path);
  EXPECT_FALSE(missing.Loaded());
  std::string want = "DLL が読み込まれていません\r\n";
  want += kCsvListUtfLibrary;
  EXPECT_EQ(messages.shown, std::vector<std::string>{want});

  messages.shown.clear();
  CsvListUtfHandoff stub(system, messages, TESSARY_CSV_STUB_LIBRARY);
  stub.Show(&owner, path);
  ASSERT_TRUE(stub.Loaded());
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"DLL のアドレスが取得できません\r\nStart"}));
  // (Loaded a second time here only to read the stub's own count.)
  Result<std::unique_ptr<LoadedLibrary>> again = system.Load(TESSARY_CSV_STUB_LIBRARY);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(ExportAs<int (*)()>(*again.value(), "StubOpenCalls")(), 1);
  stub.Close(&owner);
  EXPECT_EQ(messages.shown.back(), "DLL のアドレスが取得できません\r\nCloseForm");
}

}  // namespace
}  // namespace tessary

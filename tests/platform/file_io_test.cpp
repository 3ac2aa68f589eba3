// Whole-file reads report failures; atomic writes never leave a target half written.
#include "platform/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>

#include "platform/app_home.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::ReadFileOrDie;
using testing::TempDir;
namespace fs = std::filesystem;

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

int EntriesIn(const std::string& folder) {
  int entries = 0;
  for (auto& e : fs::directory_iterator(folder)) (void)e, ++entries;
  return entries;
}

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// A listening-free Unix socket bound at path, closed when the test ends.
class BoundSocket {
 public:
  explicit BoundSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  ~BoundSocket() {
    if (fd_ >= 0) ::close(fd_);
  }
  BoundSocket(const BoundSocket&) = delete;
  BoundSocket& operator=(const BoundSocket&) = delete;
  bool bound() const { return bound_; }

 private:
  int fd_;
  bool bound_ = false;
};

// ---- reading ----

TEST(ReadWholeFile, ReadsBytesAndReportsFailures) {
  TempDir dir;
  std::string bytes("a\0b\xFF", 4);
  EXPECT_EQ(ReadWholeFile(dir.Write("f", bytes)).value(), bytes);
  EXPECT_EQ(ReadWholeFile(dir.Write("empty", "")).value(), "");

  auto missing = ReadWholeFile(dir.File("nope"));
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().message.find(dir.File("nope")), std::string::npos)
      << "the message names the file";
  EXPECT_FALSE(FileSizeOf(dir.path()).has_value());
  EXPECT_EQ(FileSizeOf(dir.File("f")), 4u);
}

TEST(FileReader, ReadsPiecesUpToTheSizeWhenOpened) {
  TempDir dir;
  const std::string path = dir.Write("f", "0123456789");
  Result<FileReader> reader = FileReader::Open(path);
  ASSERT_TRUE(reader.ok());
  FileReader& file = reader.value();
  // Grows after the open: the reader still stops at ten bytes, as a whole read does.
  {
    std::ofstream more(path, std::ios::app);
    more << "grown";
  }
  char buf[4];
  std::string got;
  for (;;) {
    Result<size_t> n = file.Read(buf, sizeof buf);
    ASSERT_TRUE(n.ok());
    if (n.value() == 0) break;
    got.append(buf, n.value());
  }
  EXPECT_EQ(got, "0123456789");
  EXPECT_EQ(file.Size(), 10u);
  EXPECT_FALSE(FileReader::Open(dir.path()).ok());  // a folder is named, never read
}

TEST(ReadWholeFile, UnreadableFileIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  std::string p = dir.Write("secret", "x");
  ::chmod(p.c_str(), 0);
  EXPECT_FALSE(ReadWholeFile(p).ok());
}

TEST(ReadWholeFile, PathsThatAreNoFileAreNamedByWhatTheyAre) {
  TempDir dir;
  fs::create_directory(dir.File("sub"));
  auto folder = ReadWholeFile(dir.File("sub"));
  ASSERT_FALSE(folder.ok());
  EXPECT_TRUE(Contains(folder.error().message, "is a folder")) << folder.error().message;
  EXPECT_TRUE(Contains(folder.error().message, dir.File("sub")));

  // Endless: a read that trusted the device would never end.
  auto zero = ReadWholeFile("/dev/zero");
  ASSERT_FALSE(zero.ok());
  EXPECT_TRUE(Contains(zero.error().message, "is a character device")) << zero.error().message;

  BoundSocket socket(dir.File("sock"));
  ASSERT_TRUE(socket.bound());
  auto sock = ReadWholeFile(dir.File("sock"));
  ASSERT_FALSE(sock.ok());
  EXPECT_TRUE(Contains(sock.error().message, "is a socket")) << sock.error().message;
}

TEST(ReadWholeFile, FifoWithoutWriterReturnsAtOnce) {
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto read = std::async(std::launch::async, [&] { return ReadWholeFile(fifo); });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Release the blocked open so the test can end, then fail.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) ::close(writer);
    FAIL() << "reading a FIFO without a writer hangs";
  }
  auto r = read.get();
  ASSERT_FALSE(r.ok());
  EXPECT_TRUE(Contains(r.error().message, "is a FIFO")) << r.error().message;
}

TEST(KindOfPath, FollowsLinksAndNamesEveryKind) {
  TempDir dir;
  const std::string file = dir.Write("f.txt", "x");
  fs::create_directory(dir.File("sub"));
  ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0600), 0);
  BoundSocket socket(dir.File("sock"));
  fs::create_symlink("f.txt", dir.File("link"));
  fs::create_symlink("gone.txt", dir.File("dangling"));

  EXPECT_EQ(KindOfPath(file), PathKind::Regular);
  EXPECT_EQ(KindOfPath(dir.File("link")), PathKind::Regular);
  EXPECT_EQ(KindOfPath(dir.File("dangling")), PathKind::Missing);
  EXPECT_EQ(KindOfPath(dir.File("none")), PathKind::Missing);
  EXPECT_EQ(KindOfPath(file + "/below"), PathKind::Missing) << "a file is no folder";
  EXPECT_EQ(KindOfPath(dir.File("sub")), PathKind::Folder);
  EXPECT_EQ(KindOfPath(dir.File("fifo")), PathKind::Fifo);
  EXPECT_EQ(KindOfPath("/dev/null"), PathKind::CharDevice);
  if (socket.bound()) {
    EXPECT_EQ(KindOfPath(dir.File("sock")), PathKind::Socket);
  }

  EXPECT_TRUE(FileExists(dir.File("link")));
  EXPECT_FALSE(FileExists(dir.File("fifo")));
  EXPECT_EQ(DescribeKind(PathKind::Fifo), "is a FIFO");
  EXPECT_EQ(DescribeKind(PathKind::BlockDevice), "is a block device");
}

// ---- writing ----

TEST(WriteFileAtomic, ReplacesWholeAndKeepsPermissions) {
  TempDir dir;
  std::string p = dir.Write("t.txt", "old contents");
  ::chmod(p.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(p, "new").ok());
  EXPECT_EQ(ReadFileOrDie(p), "new");
  EXPECT_EQ(StatOf(p).st_mode & 0777, 0640u);
  EXPECT_EQ(EntriesIn(dir.path()), 1) << "no temporary file is left beside it";
}

TEST(WriteFileAtomic, KeepsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  TempDir dir;
  const std::string p = dir.Write("theirs.txt", "old");
  ASSERT_EQ(::chown(p.c_str(), 4321, 8765), 0);
  ASSERT_EQ(::chmod(p.c_str(), 0604), 0);
  ASSERT_TRUE(WriteFileAtomic(p, "new").ok());
  const struct stat st = StatOf(p);
  EXPECT_EQ(st.st_uid, 4321u);
  EXPECT_EQ(st.st_gid, 8765u);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_EQ(ReadFileOrDie(p), "new");
}

TEST(WriteFileAtomic, SavesThroughSymbolicLinksIntoTheFileTheyName) {
  TempDir dir;
  fs::create_directories(dir.File("a/b"));
  const std::string target = dir.Write("a/b/real.txt", "old");
  fs::create_symlink(target, dir.File("abs"));
  ASSERT_TRUE(WriteFileAtomic(dir.File("abs"), "via absolute").ok());
  EXPECT_TRUE(IsLink(dir.File("abs")));
  EXPECT_EQ(ReadFileOrDie(target), "via absolute");

  // A chain of relative links, each relative to its own folder.
  fs::create_symlink("b/real.txt", dir.File("a/hop"));
  fs::create_symlink("a/hop", dir.File("first"));
  ASSERT_TRUE(WriteFileAtomic(dir.File("first"), "via chain").ok());
  EXPECT_TRUE(IsLink(dir.File("first")));
  EXPECT_TRUE(IsLink(dir.File("a/hop")));
  EXPECT_EQ(fs::read_symlink(dir.File("first")), "a/hop");
  EXPECT_EQ(ReadFileOrDie(target), "via chain");
  EXPECT_EQ(EntriesIn(dir.File("a/b")), 1) << "no temporary file is left beside the target";

  // A link to a file yet to be made makes it where the link points.
  fs::create_symlink("a/b/new.txt", dir.File("ahead"));
  ASSERT_TRUE(WriteFileAtomic(dir.File("ahead"), "made").ok());
  EXPECT_TRUE(IsLink(dir.File("ahead")));
  EXPECT_EQ(ReadFileOrDie(dir.File("a/b/new.txt")), "made");

  fs::create_symlink("loop2", dir.File("loop1"));
  fs::create_symlink("loop1", dir.File("loop2"));
  EXPECT_FALSE(WriteFileAtomic(dir.File("loop1"), "x").ok());
}

TEST(WriteFileAtomic, HardLinkedFileIsWrittenInPlace) {
  TempDir dir;
  const std::string one = dir.Write("one.txt", "old text");
  const std::string two = dir.File("two.txt");
  ASSERT_EQ(::link(one.c_str(), two.c_str()), 0);
  const ino_t inode = StatOf(one).st_ino;
  ASSERT_TRUE(WriteFileAtomic(one, "new").ok());
  EXPECT_EQ(ReadFileOrDie(one), "new");
  EXPECT_EQ(ReadFileOrDie(two), "new");
  EXPECT_EQ(StatOf(one).st_ino, inode);
  EXPECT_EQ(StatOf(two).st_nlink, 2u);
}

TEST(WriteFileAtomic, ContentThatMayFailIsNeverWrittenInPlace) {
  // A writer whose content can still fail half way refuses every target it could only
  // overwrite in place: the other name, the FIFO and the device keep what they had.
  TempDir dir;
  const std::string one = dir.Write("one.txt", "old text");
  const std::string two = dir.File("two.txt");
  ASSERT_EQ(::link(one.c_str(), two.c_str()), 0);
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  int calls = 0;
  const ContentPieces content = [&](const PieceWriter& put) {
    ++calls;
    return put("new");
  };
  for (const std::string& target : {two, fifo, std::string("/dev/null")})
    EXPECT_FALSE(WriteFileAtomic(target, content, Durability::Unsynced, InPlace::Refused).ok())
        << target;
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(ReadFileOrDie(one), "old text");
  // A file it may replace is written as usual.
  const std::string plain = dir.Write("plain.txt", "old");
  ASSERT_TRUE(WriteFileAtomic(plain, content, Durability::Unsynced, InPlace::Refused).ok());
  EXPECT_EQ(ReadFileOrDie(plain), "new");
}

TEST(WriteFileAtomic, FifoAndCharacterDevicesAreWrittenInPlace) {
  TempDir dir;
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The reader is open before the write, so the writer's open does not wait; had the FIFO been
  // replaced, the reader would find nothing instead of hanging the test.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(WriteFileAtomic(fifo, "through the pipe").ok());
  char got[64] = {};
  const ssize_t n = ::read(reader, got, sizeof got);
  ::close(reader);
  EXPECT_EQ(std::string(got, n > 0 ? static_cast<size_t>(n) : 0), "through the pipe");
  EXPECT_TRUE(S_ISFIFO(StatOf(fifo).st_mode));

  // A private copy of the null device first, so a wrong write never replaces the system's.
  const std::string null_copy = dir.File("null");
  if (::mknod(null_copy.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ASSERT_TRUE(WriteFileAtomic(null_copy, "gone").ok());
    ASSERT_TRUE(S_ISCHR(StatOf(null_copy).st_mode));
  }
  ASSERT_TRUE(WriteFileAtomic("/dev/null", "gone").ok());
  EXPECT_TRUE(S_ISCHR(StatOf("/dev/null").st_mode));
}

TEST(WriteFileAtomic, ReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const std::string p = dir.Write("ro.txt", "keep me");
  ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
  Status s = WriteFileAtomic(p, "new");
  ASSERT_FALSE(s.ok());
  EXPECT_TRUE(Contains(s.error().message, "write-protected")) << s.error().message;
  EXPECT_TRUE(Contains(s.error().message, p));
  EXPECT_EQ(ReadFileOrDie(p), "keep me");
  EXPECT_EQ(StatOf(p).st_mode & 0777, 0444u);
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(WriteFileAtomic, LongestNamesAreSaved) {
  TempDir dir;
  const std::string p = dir.File(std::string(250, 'n'));
  ASSERT_TRUE(WriteFileAtomic(p, "first").ok());
  ASSERT_TRUE(WriteFileAtomic(p, "second").ok());
  EXPECT_EQ(ReadFileOrDie(p), "second");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(WriteFileAtomic, PlantedLinkAtAPredictableNameIsNotFollowed) {
  TempDir dir;
  const std::string victim = dir.Write("victim.txt", "untouched");
  const std::string p = dir.Write("doc.txt", "old");
  const std::string planted = p + ".tessary-tmp-" + std::to_string(::getpid());
  fs::create_symlink(victim, planted);
  ASSERT_TRUE(WriteFileAtomic(p, "new").ok());
  EXPECT_EQ(ReadFileOrDie(victim), "untouched");
  EXPECT_FALSE(IsLink(p));
  EXPECT_EQ(ReadFileOrDie(p), "new");
}

TEST(WriteFileAtomic, FailureLeavesTheTargetAlone) {
  TempDir dir;
  std::string p = dir.Write("keep.txt", "precious");
  Status no_folder = WriteFileAtomic(dir.File("no/such/dir/file"), "x");
  ASSERT_FALSE(no_folder.ok());
  EXPECT_TRUE(Contains(no_folder.error().message, "folder does not exist"))
      << no_folder.error().message;

  fs::create_directory(dir.File("adir"));
  Status folder = WriteFileAtomic(dir.File("adir"), "x");
  ASSERT_FALSE(folder.ok());
  EXPECT_TRUE(Contains(folder.error().message, "is a folder")) << folder.error().message;
  EXPECT_TRUE(fs::is_directory(dir.File("adir")));

  // A write cut short (the file-size limit) removes the temporary file and keeps the old text.
  struct rlimit old_limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 4;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  Status cut = WriteFileAtomic(p, "far too long for the limit");
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(cut.ok());
  EXPECT_EQ(ReadFileOrDie(p), "precious");
  EXPECT_EQ(EntriesIn(dir.path()), 2) << "keep.txt and adir only";
}

TEST(WriteFileAtomic, ContentMadeWhileWrittenArrivesWholeOrNotAtAll) {
  TempDir dir;
  const std::string p = dir.Write("t.txt", "old contents");
  ::chmod(p.c_str(), 0640);
  auto three = [](const PieceWriter& put) {
    for (std::string_view piece : {"one ", "two ", "three"})
      if (int e = put(piece); e != 0) return e;
    return 0;
  };
  for (Durability d : {Durability::Synced, Durability::Unsynced}) {
    ASSERT_TRUE(WriteFileAtomic(p, three, d).ok());
    EXPECT_EQ(ReadFileOrDie(p), "one two three");
    EXPECT_EQ(StatOf(p).st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(dir.path()), 1) << "no temporary file is left beside it";
  }
  // Content that fails part way (a conversion that runs out of room) keeps the old text, and
  // the system's reason is told.
  dir.Write("t.txt", "precious");
  Status failed = WriteFileAtomic(
      p,
      [](const PieceWriter& put) {
        if (int e = put("half"); e != 0) return e;
        return ENOSPC;
      },
      Durability::Unsynced);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().system_error, ENOSPC);
  EXPECT_EQ(ReadFileOrDie(p), "precious");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
  // A new file too.
  ASSERT_TRUE(WriteFileAtomic(dir.File("new.txt"), three, Durability::Unsynced).ok());
  EXPECT_EQ(ReadFileOrDie(dir.File("new.txt")), "one two three");
}

// Content larger than the stretch after which its start is handed to the disk while the rest
// is still being written: the files written that way, and those that cannot be (a FIFO), get
// every byte, and a failure after that start still keeps the old file.
TEST(WriteFileAtomic, LargeContentArrivesWholeWhileItsStartGoesToDisk) {
  TempDir dir;
  std::string piece(1 << 20, '\0');
  for (size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>(i * 7 + i / 251);
  constexpr int kPieces = 40;
  auto large = [&](const PieceWriter& put) {
    for (int i = 0; i < kPieces; ++i) {
      piece[0] = static_cast<char>(i);  // each piece in its place
      if (int e = put(piece); e != 0) return e;
    }
    return 0;
  };
  std::string expected;
  large([&](std::string_view p) {
    expected.append(p);
    return 0;
  });
  const std::string p = dir.Write("big.bin", "old");
  for (Durability d : {Durability::Synced, Durability::Unsynced}) {
    ASSERT_TRUE(WriteFileAtomic(p, large, d).ok());
    ASSERT_TRUE(ReadFileOrDie(p) == expected);
  }
  dir.Write("big.bin", "precious");
  Status failed = WriteFileAtomic(
      p,
      [&](const PieceWriter& put) {
        if (int e = large(put); e != 0) return e;
        return ENOSPC;
      },
      Durability::Unsynced);
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(ReadFileOrDie(p), "precious");
  EXPECT_EQ(EntriesIn(dir.path()), 1);

  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto drained = std::async(std::launch::async, [&] {
    const int reader = ::open(fifo.c_str(), O_RDONLY);
    std::string got;
    char buf[65536];
    for (ssize_t n; (n = ::read(reader, buf, sizeof buf)) > 0;)
      got.append(buf, static_cast<size_t>(n));
    ::close(reader);
    return got;
  });
  ASSERT_TRUE(WriteFileAtomic(fifo, large, Durability::Unsynced).ok());
  EXPECT_TRUE(drained.get() == expected);
}

TEST(WriteFileAtomic, FolderWithoutWriteAccessIsNamed) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into every folder";
  TempDir dir;
  fs::create_directory(dir.File("locked"));
  ::chmod(dir.File("locked").c_str(), 0555);
  Status s = WriteFileAtomic(dir.File("locked/new.txt"), "x");
  ASSERT_FALSE(s.ok());
  EXPECT_TRUE(Contains(s.error().message, "folder is not writable")) << s.error().message;
}

TEST(AppHome, EnvironmentOverridesAndEveryWorkingFileHasItsName) {
  const char* env = std::getenv("TESSARY_HOME");
  ASSERT_NE(env, nullptr) << "tests run with their own TESSARY_HOME";
  const AppHome home = AppHome::FromEnvironment();
  EXPECT_EQ(home.folder(), std::string(env));
  EXPECT_EQ(home.PathOf(WorkingFile::UnKnown), std::string(env) + "/Tessary-UnKnown.txt");
  const std::string settings = home.SettingsFile();
  EXPECT_EQ(settings.rfind(std::string(env) + "/", 0), 0u);
  EXPECT_EQ(settings.substr(settings.size() - 4), ".ini");
  // Names are distinct and of the one form, so no two features share a file by accident.
  std::set<std::string_view> names;
  for (int f = 0; f <= static_cast<int>(WorkingFile::SnippetFile); ++f) {
    const std::string_view name = WorkingFileName(static_cast<WorkingFile>(f));
    EXPECT_EQ(name.rfind("Tessary-", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 4), ".txt") << name;
    EXPECT_TRUE(names.insert(name).second) << name;
  }
  EXPECT_EQ(AppHome("/a/b/").folder(), "/a/b");
}

}  // namespace
}  // namespace tessary

// Temporary folders and files for tests, always under the test run's own TESSARY_HOME.
#pragma once

#include <string>
#include <string_view>

namespace tessary::testing {

// A fresh folder removed with everything in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes bytes to path()/name and returns the full path.
  std::string Write(const std::string& name, std::string_view bytes) const;
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadFileOrDie(const std::string& path);

// Bytes from a string of hex digits, blanks ignored: Hex("82 A0") == "\x82\xA0".
std::string Hex(std::string_view digits);

// A shell script that writes its working folder and then each argument as "[arg]" on a line
// to `out`, whole (through a renamed temporary), so a test can wait for the file to appear.
std::string ArgumentRecorderScript(const std::string& out);

}  // namespace tessary::testing

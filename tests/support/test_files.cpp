// Temporary folders and file helpers for tests.
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/app_home.h"

namespace tessary::testing {

TempDir::TempDir() {
  std::string base = AppHome::FromEnvironment().folder() + "/tmp";
  std::filesystem::create_directories(base);
  std::string templ = base + "/t-XXXXXX";
  if (::mkdtemp(templ.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed in " << base;
  path_ = templ;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  std::string p = File(name);
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::string ReadFileOrDie(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Hex(std::string_view digits) {
  std::string out;
  int pending = -1;
  for (char c : digits) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else
      continue;
    if (pending < 0) {
      pending = v;
    } else {
      out.push_back(static_cast<char>(pending * 16 + v));
      pending = -1;
    }
  }
  return out;
}

std::string ArgumentRecorderScript(const std::string& out) {
  std::string script = "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '";
  script += out;
  script += ".tmp' && mv '";
  script += out;
  script += ".tmp' '";
  script += out;
  script += "'\n";
  return script;
}

}  // namespace tessary::testing

// A most-recent-first list of N text entries kept in a Shift-JIS working file, one per line.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tessary {

// Entries live in memory as UTF-8 and in the file as Shift-JIS; the conversion comes from the
// caller, since this layer knows no code page.
struct ListTextCodec {
  // The file's form of an entry, or nothing when a character has no Shift-JIS form.
  std::function<std::optional<std::string>(std::string_view)> to_file;
  std::function<std::string(std::string_view)> from_file;
};

// Fixed lists always hold `capacity` entries (missing ones are the empty entry, and the file
// has a line for each); bounded ones hold up to `capacity`.
enum class MruLength { Fixed, UpTo };

struct MruShape {
  size_t capacity = 0;
  MruLength length = MruLength::UpTo;
  // What stands for "no entry": filling a fixed list, and in the file for an entry that
  // Shift-JIS cannot hold (written empty rather than garbled).
  std::string empty_entry;
};

class MruList {
 public:
  explicit MruList(MruShape shape);

  // A missing or unreadable file gives an empty list (a fixed one filled up). Only as many
  // lines and bytes as the list can hold are read.
  void Load(const std::string& path, const ListTextCodec& codec);
  [[nodiscard]] Status Save(const std::string& path, const ListTextCodec& codec) const;

  // Puts the entry first. The first entry that `same` matches is removed; when none matches
  // the last one goes once the list is full.
  void Push(std::string entry, const std::function<bool(std::string_view)>& same);
  // The same, matching entries that are exactly equal.
  void Push(std::string entry);

  const std::vector<std::string>& entries() const { return entries_; }
  const MruShape& shape() const { return shape_; }

 private:
  void FillUp();

  MruShape shape_;
  std::vector<std::string> entries_;
};

}  // namespace tessary

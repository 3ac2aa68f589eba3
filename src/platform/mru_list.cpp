// Most-recent-first lists and their working files.
#include "platform/mru_list.h"

#include "base/line_split.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

// Room for one line of a list: a path as long as the system allows, and a field or two more.
constexpr uint64_t kMaxLineBytes = 4096 + 64;

}  // namespace

MruList::MruList(MruShape shape) : shape_(std::move(shape)) {
  FillUp();
}

void MruList::FillUp() {
  if (entries_.size() > shape_.capacity) entries_.resize(shape_.capacity);
  if (shape_.length == MruLength::Fixed) entries_.resize(shape_.capacity, shape_.empty_entry);
}

void MruList::Load(const std::string& path, const ListTextCodec& codec) {
  entries_.clear();
  if (FileExists(path)) {
    Result<std::string> bytes = ReadFileHead(path, shape_.capacity * kMaxLineBytes);
    if (bytes) {
      for (std::string_view line : SplitLines(bytes.value(), shape_.capacity))
        entries_.push_back(codec.from_file(line));
    }
  }
  FillUp();
}

Status MruList::Save(const std::string& path, const ListTextCodec& codec) const {
  std::string out;
  for (const std::string& e : entries_) {
    const std::optional<std::string> stored = e.empty() ? std::string() : codec.to_file(e);
    out.append(stored ? *stored : shape_.empty_entry).append(kCrLf);
  }
  return WriteFileAtomic(path, out);
}

void MruList::Push(std::string entry, const std::function<bool(std::string_view)>& same) {
  size_t victim = entries_.size();
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (same(entries_[i])) {
      victim = i;
      break;
    }
  }
  if (victim == entries_.size() && entries_.size() >= shape_.capacity) victim = entries_.size() - 1;
  if (victim < entries_.size())
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(victim));
  entries_.insert(entries_.begin(), std::move(entry));
  FillUp();
}

void MruList::Push(std::string entry) {
  const std::string key = entry;
  Push(std::move(entry), [&key](std::string_view e) { return e == key; });
}

}  // namespace tessary

// The favourites and launcher settings windows without their widgets.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/external_programs.h"
#include "platform/private_profile.h"

namespace tessary {

// Three rows read at creation; a clicked row is the selected one and the edits change it at
// once; Save writes all three, and closing without Save writes nothing.
class FavoritesModel {
 public:
  explicit FavoritesModel(PrivateProfile& ini);

  [[nodiscard]] const std::array<FavoriteEntry, kEntryCount>& Rows() const { return rows_; }
  // The code column: the display text of the row's read code ("自動検出" for 0).
  [[nodiscard]] static std::string CodeText(int index);
  [[nodiscard]] int Selected() const { return selected_; }
  void Select(int row);  // 0-2; anything else is ignored
  void SetPath(std::string path);
  void SetCodeIndex(int index);  // 0-7; anything else is 0
  [[nodiscard]] Status Save();

 private:
  PrivateProfile& ini_;
  std::array<FavoriteEntry, kEntryCount> rows_;
  int selected_ = 0;
};

class LaunchersModel {
 public:
  explicit LaunchersModel(PrivateProfile& ini);

  [[nodiscard]] const std::array<LauncherEntry, kEntryCount>& Rows() const { return rows_; }
  [[nodiscard]] int Selected() const { return selected_; }
  void Select(int row);
  void SetProgram(std::string program);
  void SetOptions(std::string options);
  [[nodiscard]] Status Save();

  // The example list and what choosing an item puts into the options edit: the text before
  // its first ":" (the blank item empties the edit).
  [[nodiscard]] static std::vector<std::string> ExampleItems();
  [[nodiscard]] static std::string ExampleOptions(std::string_view item);

 private:
  PrivateProfile& ini_;
  std::array<LauncherEntry, kEntryCount> rows_;
  int selected_ = 0;
};

inline constexpr const char* kLauncherFileFilter = "Exe(*.exe;)|*.exe|All(*.*)|*.*";

}  // namespace tessary

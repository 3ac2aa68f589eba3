// The favourites and launcher settings: three rows each, edited in place, written on OK.
#include "app/program_settings_model.h"

#include "codec/file_choosers.h"

namespace tessary {
namespace {

bool ValidRow(int row) {
  return row >= 0 && row < kEntryCount;
}

size_t Row(int row) {
  return static_cast<size_t>(row);
}

}  // namespace

FavoritesModel::FavoritesModel(PrivateProfile& ini) : ini_(ini) {
  for (int n = 1; n <= kEntryCount; ++n) rows_[Row(n - 1)] = ReadFavorite(ini_, n);
}

std::string FavoritesModel::CodeText(int index) {
  const std::vector<std::string> items = OpenCodeItems();
  return items[static_cast<size_t>(OpenCodeIndexOf(index))];
}

void FavoritesModel::Select(int row) {
  if (ValidRow(row)) selected_ = row;
}

void FavoritesModel::SetPath(std::string path) {
  rows_[Row(selected_)].path = std::move(path);
}

void FavoritesModel::SetCodeIndex(int index) {
  FavoriteEntry& e = rows_[Row(selected_)];
  e.index = OpenCodeIndexOf(index);
  e.options = CodeText(e.index);
}

Status FavoritesModel::Save() {
  for (int n = 1; n <= kEntryCount; ++n) {
    FavoriteEntry e = rows_[Row(n - 1)];
    e.options = CodeText(e.index);
    if (Status s = WriteFavorite(ini_, n, e); !s) return s;
  }
  return Success();
}

LaunchersModel::LaunchersModel(PrivateProfile& ini) : ini_(ini) {
  for (int n = 1; n <= kEntryCount; ++n) rows_[Row(n - 1)] = ReadLauncher(ini_, n);
}

void LaunchersModel::Select(int row) {
  if (ValidRow(row)) selected_ = row;
}

void LaunchersModel::SetProgram(std::string program) {
  rows_[Row(selected_)].program = std::move(program);
}

void LaunchersModel::SetOptions(std::string options) {
  rows_[Row(selected_)].options = std::move(options);
}

Status LaunchersModel::Save() {
  for (int n = 1; n <= kEntryCount; ++n)
    if (Status s = WriteLauncher(ini_, n, rows_[Row(n - 1)]); !s) return s;
  return Success();
}

std::vector<std::string> LaunchersModel::ExampleItems() {
  return {" ", "$(FileNameEx):ファイル名", "$(CurLine):現在行",
          "/l $(CurLine) \"$(FileNameEx)\":Pilkaの場合"};
}

std::string LaunchersModel::ExampleOptions(std::string_view item) {
  const size_t colon = item.find(':');
  if (colon == std::string_view::npos) return {};
  return std::string(item.substr(0, colon));
}

}  // namespace tessary

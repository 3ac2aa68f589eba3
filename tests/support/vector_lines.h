// Document lines held in memory for viewer tests, as the main editor's document hands them over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "viewers/csv_list_model.h"

namespace tessary::testing {

class VectorLines final : public CsvLines {
 public:
  explicit VectorLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  int32_t Count() const override { return static_cast<int32_t>(lines_.size()); }
  std::string_view Line(int32_t i, std::string&) const override {
    return lines_[static_cast<size_t>(i)];
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace tessary::testing

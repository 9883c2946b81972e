// A scratch folder of the running test, unique across test processes running at once.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace qv {

inline std::filesystem::path UniqueTempDir(const std::string& prefix) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      prefix + "_" + std::to_string(::getpid()) + "_" + (info != nullptr ? info->name() : "any");
  return std::filesystem::temp_directory_path() / name;
}

}  // namespace qv

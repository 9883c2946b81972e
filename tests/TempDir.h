// Scratch folders for tests that read and write files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace qv {

// A scratch folder of the running test, unique across test processes running at once.
inline std::filesystem::path UniqueTempDir(const std::string& prefix) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string name =
      prefix + "_" + std::to_string(::getpid()) + "_" +
      (info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name() : "any");
  return std::filesystem::temp_directory_path() / name;
}

// A fixture owning an empty scratch folder for each test, removed afterwards.
class TScratchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = UniqueTempDir("qv");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::filesystem::path dir_;
};

}  // namespace qv

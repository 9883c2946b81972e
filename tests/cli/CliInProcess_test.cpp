// The tool's parts in-process: option parsing, the method table and the check's exit status.
#include <gtest/gtest.h>

#include "TempDir.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "io/ArchivoPT.h"
#include "methods/Constructores.h"

namespace qv::cli {
namespace {

TEST(CliOptions, DefaultsAndBothValueForms) {
  TCliOptions o = ParseArguments({"cloud.pt"});
  EXPECT_EQ(o.Method, "sweep");
  EXPECT_EQ(o.Angle, 0);
  EXPECT_EQ(o.File, "cloud.pt");
  EXPECT_EQ(o.Deviation, 100);
  EXPECT_EQ(o.Seed, 1u);
  EXPECT_EQ(o.CanvasWidth, 1014);
  EXPECT_EQ(o.CanvasHeight, 653);
  EXPECT_EQ(o.Triangulation, "fan");
  EXPECT_FALSE(o.Check);

  o = ParseArguments({"--angle=45", "--random", "7", "--canvas=300x200", "--seed", "4294967295",
                      "--normal=20", "--check", "--json", "-"});
  EXPECT_EQ(o.Angle, 45);
  EXPECT_EQ(o.RandomCount, 7);
  EXPECT_EQ(o.CanvasWidth, 300);
  EXPECT_EQ(o.CanvasHeight, 200);
  EXPECT_EQ(o.Seed, 4294967295u);
  EXPECT_EQ(o.Deviation, 20);
  EXPECT_TRUE(o.Check);
  EXPECT_EQ(o.JsonFile, "-");
  // After "--" a name that looks like an option is a file.
  EXPECT_EQ(ParseArguments({"--", "-odd.pt"}).File, "-odd.pt");
  EXPECT_THROW(ParseArguments({"--angle=", "x.pt"}), UsageError);
  EXPECT_THROW(ParseArguments({"--canvas", "0x10", "--random", "3"}), UsageError);
}

TEST(CliUsage, BadArgumentsExitWith1AndShowTheUsage) {
  for (const char* line : {"",
                           "--bogus x.pt",
                           "--method nothing x.pt",
                           "--image a.gif x.pt",
                           "--random 5 x.pt",
                           "--angle 360 x.pt",
                           "--angle -1 x.pt",
                           "--angle 1.5 x.pt",
                           "--random 0",
                           "--uniform x.pt",
                           "--random 5 --uniform --normal 20",
                           "--angle",
                           "--triangulation zigzag x.pt",
                           "--canvas 100 --random 5",
                           "--canvas 300x200 x.pt",
                           "a.pt b.pt",
                           "--seed -3 x.pt",
                           "--check=yes x.pt",
                           "--json= x.pt",
                           "--out= x.pt",
                           "--image= x.pt",
                           "--method sweep --method layers x.pt",
                           "--pockets x.pt",
                           "--triangulation fan x.pt",
                           "--method layers --pockets x.pt",
                           "--json - --out - x.pt",
                           "--json a.json --out a.json x.pt"}) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(args, out, err, DefaultMethods()), kExitUsage) << line;
    EXPECT_NE(err.str().find("usage: quilvaron-cli"), std::string::npos) << line;
    EXPECT_EQ(out.str(), "") << line;
  }
}

// A fake method that leaves only the hull: a face with four convex corners.
TMethodTable WithHullOnly() {
  TMethodTable table = DefaultMethods();
  table.push_back({"hull-only",
                   [](TCliDocument& doc, const TCliOptions&) {
                     BuildHull(doc.Points, doc.PT);
                     doc.HasSubdivision = true;
                   },
                   {},
                   false});
  return table;
}

class CliRunning : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = (UniqueTempDir("qv_cli") += "_square.pt").string();
    SavePT(file_, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, false);
  }
  void TearDown() override { std::filesystem::remove(file_); }
  int RunTool(std::vector<std::string> args, const TMethodTable& table) {
    out_.str("");
    err_.str("");
    args.push_back(file_);
    return RunCli(args, out_, err_, table);
  }
  std::string file_;
  std::ostringstream out_, err_;
};

TEST_F(CliRunning, CheckFailureExitsWith3) {
  TMethodTable table = WithHullOnly();
  EXPECT_EQ(RunTool({"--method", "hull-only", "--check"}, table), kExitCheckFailed);
  EXPECT_NE(out_.str().find("Check: not a pseudo-triangulation: "), std::string::npos);
  EXPECT_NE(out_.str().find("4 convex corners"), std::string::npos);
  // Without --check the same result is no failure.
  EXPECT_EQ(RunTool({"--method", "hull-only"}, table), kExitOk);
  EXPECT_NE(out_.str().find("Faces : 1"), std::string::npos);
}

TEST_F(CliRunning, ValidResultExitsWith0AndReportsPointedness) {
  EXPECT_EQ(RunTool({"--check"}, DefaultMethods()), kExitOk);
  EXPECT_NE(out_.str().find("Check: pseudo-triangulation, 2 faces, 2 triangles, pointed"),
            std::string::npos)
      << out_.str();
}

TEST_F(CliRunning, UnbuiltMethodsAreRefusedNotFaked) {
  for (const TCliMethod& m : DefaultMethods()) {
    if (m.Run) continue;
    EXPECT_EQ(RunTool({"--method", m.Name}, DefaultMethods()), kExitUsage) << m.Name;
    EXPECT_NE(err_.str().find("not available yet"), std::string::npos);
  }
  EXPECT_NE(FindMethod(DefaultMethods(), "shortest-paths"), nullptr);
  EXPECT_EQ(FindMethod(DefaultMethods(), "sweepline"), nullptr);
}

}  // namespace
}  // namespace qv::cli

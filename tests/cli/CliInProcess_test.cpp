// The tool's parts in-process: option parsing, usage errors, the method table and the check's
// exit status.
#include <gtest/gtest.h>

#include <tuple>

#include "cli/CliOptions.h"
#include "cli/CliPrueba.h"
#include "methods/Constructores.h"

namespace qv::cli {
namespace {

TEST(CliOptions, DefaultsAndBothValueForms) {
  TCliOptions o = ParseArguments({"cloud.pt"});
  EXPECT_EQ(std::tuple(o.Method, o.Angle, o.File, o.Deviation, o.Seed, o.Triangulation, o.Check,
                       o.CanvasWidth, o.CanvasHeight),
            std::tuple("sweep", 0, "cloud.pt", 100, 1u, "fan", false, 1014, 653));
  o = ParseArguments({"--angle=45", "--random", "7", "--canvas=300x200", "--seed", "4294967295",
                      "--normal=20", "--check", "--json", "-"});
  EXPECT_EQ(std::tuple(o.Angle, o.RandomCount, o.CanvasWidth, o.CanvasHeight, o.Seed, o.Deviation,
                       o.Check, o.JsonFile),
            std::tuple(45, 7, 300, 200, 4294967295u, 20, true, "-"));
  // After "--" a name that looks like an option is a file.
  EXPECT_EQ(ParseArguments({"--", "-odd.pt"}).File, "-odd.pt");
}

using CliUsage = test::CliPrueba;

TEST_F(CliUsage, BadArgumentsExitWith1AndShowTheUsageHelpGoesToStandardOutput) {
  std::istringstream lines(
      "|--bogus x.pt|--method nothing x.pt|--image a.gif x.pt|--random 5 x.pt|--angle 360 x.pt|"
      "--angle -1 x.pt|--angle 1.5 x.pt|--angle= x.pt|--random 0|--uniform x.pt|--angle|"
      "--random 5 --uniform --normal 20|--triangulation zigzag x.pt|--canvas 100 --random 5|"
      "--canvas 0x10 --random 3|--canvas 300x200 x.pt|a.pt b.pt|--seed -3 x.pt|--check=yes x.pt|"
      "--json= x.pt|--out= x.pt|--image= x.pt|--method sweep --method layers x.pt|--pockets x.pt|"
      "--triangulation fan x.pt|--method layers --pockets x.pt|--json - --out - x.pt|"
      "--json a.json --out a.json x.pt");
  for (std::string line; std::getline(lines, line, '|');) {
    EXPECT_EQ(Cli(line), kExitUsage) << line;
    EXPECT_NE(err.find("usage: quilvaron-cli"), std::string::npos) << line;
    EXPECT_EQ(out, "") << line;
  }
  EXPECT_EQ(Cli("--help"), kExitOk);
  EXPECT_EQ(out.rfind("usage: quilvaron-cli", 0), 0u);
}

TEST_F(CliUsage, CheckFailureExitsWith3AndUnbuiltMethodsAreRefused) {
  // A fake method that leaves only the hull: a face with four convex corners.
  TMethodTable table = DefaultMethods();
  table.push_back({"hull-only",
                   [](TCliDocument& doc, const TCliOptions&) {
                     BuildHull(doc.Points, doc.PT);
                     doc.HasSubdivision = true;
                   },
                   {},
                   false});
  const std::string square = WritePT("sq.pt", {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  EXPECT_EQ(Cli("--method hull-only --check " + square, table), kExitCheckFailed);
  EXPECT_NE(out.find("Check: not a pseudo-triangulation: "), std::string::npos) << out;
  EXPECT_NE(out.find("4 convex corners"), std::string::npos) << out;
  EXPECT_EQ(Cli("--method hull-only " + square, table), kExitOk);  // no check, no failure
  EXPECT_NE(out.find("Faces : 1"), std::string::npos);
  EXPECT_EQ(Cli("--check " + square, table), kExitOk);
  EXPECT_NE(out.find("Check: pseudo-triangulation, 2 faces, 2 triangles, pointed"),
            std::string::npos)
      << out;
  table.push_back({"later", {}, {}, false});  // listed, not built yet
  EXPECT_EQ(Cli("--method later " + square, table), kExitUsage);
  EXPECT_NE(err.find("method 'later' is not available yet"), std::string::npos) << err;
}

}  // namespace
}  // namespace qv::cli

// quilvaron-cli: options, figures, JSON and steps of every method, refusals, exit statuses,
// unwritable outputs, counts and enumeration, the experiment command and the images.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "TempDir.h"
#include "app/Vista.h"
#include "cli/CliExperiment.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "cli/ImageExport.h"
#include "io/ArchivoPT.h"
#include "io/Salida.h"
#include "methods/Constructores.h"
#include "methods/Verificador.h"

namespace qv::cli {
namespace {

// The test fails when the text is no JSON document or has text after it.
QJsonObject ParseJson(const std::string& text) {
  QJsonParseError e{};
  const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(text), &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << e.errorString().toStdString() << ": " << text;
  return d.object();
}

TNube Convex(int n) {
  TNube points;
  for (int i = 0; i < n; ++i) points.push_back({i * 7, i * i});
  return points;
}

// quilvaron-cli in-process (as a program where only a process shows it), in a scratch folder.
class CliTool : public TScratchTest {
 protected:
  static std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    return args;
  }
  // Runs the tool on whitespace-separated arguments, keeping out and err; returns the status.
  int Cli(const std::string& line, const TMethodTable& methods = DefaultMethods()) {
    std::ostringstream o, e;
    const int status = RunCli(Words(line), o, e, methods);
    out = o.str();
    err = e.str();
    return status;
  }
  static int Spawn(const std::string& shellArgs) {
    const int raw = std::system((std::string(QUILVARON_CLI) + " " + shellArgs).c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string WritePT(const std::string& name, const TNube& pts, bool polygon = false) const {
    SavePT(Path(name), pts, polygon);
    return Path(name);
  }
  QJsonObject OutJson() const { return ParseJson(out); }

  std::string out, err;
};

TNube JsonPoints(const QJsonObject& j) {
  TNube pts;
  for (const QJsonValue p : j["points"].toArray()) pts.push_back({p[0].toInt(), p[1].toInt()});
  return pts;
}

std::vector<TEdge> JsonEdges(const QJsonObject& j) {
  std::vector<TEdge> edges;
  for (const QJsonValue e : j["edges"].toArray()) edges.push_back({e[0].toInt(), e[1].toInt()});
  std::sort(edges.begin(), edges.end());
  return edges;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliTool, PrintsTheSixFiguresThenTheVerdictWithTenNonPointedIndices) {
  ASSERT_EQ(Cli("--random 30 --seed 5 --check"), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_TRUE(std::regex_match(out, std::regex("Weight     : [0-9,]+\nV degree  : [0-9]+\n"
                                               "F degree  : [0-9]+\nPoints      : 30\n"
                                               "Faces : 28\nTriangles : [0-9]+\n"
                                               "Check: pseudo-triangulation, .*\n")))
      << out;
  ASSERT_EQ(Cli(WritePT("t.pt", {{0, 0}, {3000, 0}, {0, 4000}})), 0);
  EXPECT_EQ(out.substr(0, out.find('\n')), "Weight     : 12,000");
  // A triangulated grid: its 16 inner vertices are not pointed; the first ten are listed.
  TNube grid;
  for (int x = 0; x < 6; ++x)
    for (int y = 0; y < 6; ++y) grid.push_back({10 * x, 10 * y + (x % 2) * 3});
  Cli("--method sweep-triangulation --check " + WritePT("grid.pt", grid));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(out, m,
                                std::regex("\nCheck: pseudo-triangulation, ([0-9]+) faces, "
                                           "\\1 triangles, ([0-9]+) non-pointed "
                                           "vertices:( [0-9]+){10} \\.\\.\\.\n$")))
      << out;
  EXPECT_GE(std::stoi(m[2]), 16);
}

// A polygon with a notch: 0 (0,0), 1 (100,0), 2 (100,100), 3 (50,20) reflex, 4 (0,100).
const TNube kNotch{{0, 0}, {100, 0}, {100, 100}, {50, 20}, {0, 100}};
// A convex octagon, its topmost point last in the file.
const TNube kOctagon{{441, 159}, {500, 300}, {441, 441}, {300, 500},
                     {159, 441}, {100, 300}, {159, 159}, {300, 100}};

// Every method's JSON: the same for the same seed, its figures recomputed from its edges.
TEST_F(CliTool, JsonOfEveryMethodAgreesWithItsOwnPointsAndEdges) {
  const std::vector<std::string> rows{
      "sweep --random 60 --normal 30 --canvas 300x200 --angle 135",
      "incremental-vertex --random 60 --seed 1",
      "incremental-face " + WritePT("oct.pt", kOctagon),
      "incremental-face --triangulation random --seed 3 " + Path("oct.pt"),
      "layers --random 200 --uniform --seed 3",
      "sweep-triangulation --random 80 --seed 2",
      "delaunay --random 80 --seed 2",
      "remove-edges --random 80 --seed 2",
      "remove-triangles --random 80 --seed 2",
      "shortest-paths " + WritePT("notch.pt", kNotch, true),  // the polygon's inside only
      "shortest-paths --pockets " + Path("notch.pt")};
  for (const std::string& args : rows) {
    const std::string method = args.substr(0, args.find(' '));
    const std::string line = "--method " + args + " --check --json - --out " + Path("o.pt") +
                             " --steps " + Path("s.json");
    ASSERT_EQ(Cli(line), 0) << args << err;
    const std::string first = out;  // the seed alone decides every random choice
    ASSERT_EQ(Cli(line), 0);
    EXPECT_EQ(out, first) << args;
    EXPECT_NE(err.find("Check: pseudo-triangulation"), std::string::npos) << err;
    const QJsonObject j = OutJson();
    EXPECT_EQ(j["method"].toString().toStdString(), method);
    EXPECT_EQ(j["polygon"].toBool(), method == "shortest-paths");
    EXPECT_EQ(j["angle"].toInt(), method == "sweep" ? 135 : 0);
    const TNube pts = JsonPoints(j);
    const int n = static_cast<int>(pts.size());
    const std::vector<TEdge> edges = JsonEdges(j);
    std::vector<int> degree(n, 0);
    double weight = 0;
    for (const TEdge& e : edges) {
      ASSERT_TRUE(0 <= e.A && e.A < e.B && e.B < n);
      ++degree[e.A];
      ++degree[e.B];
      weight += std::hypot(double(pts[e.A].X - pts[e.B].X), double(pts[e.A].Y - pts[e.B].Y));
    }
    const bool inside = method == "shortest-paths" && args.find("--pockets") == std::string::npos;
    const TCheckReport check = inside
                                   ? CheckPseudoTriangulationOfPolygon(pts, {0, 1, 2, 3, 4}, edges)
                                   : CheckPseudoTriangulation(pts, edges);
    ASSERT_TRUE(check.Valid) << args << ": " << check.Reason;
    const QJsonValue s = j["stats"];
    EXPECT_NEAR(s["weight"].toDouble(), weight, 1e-9 * weight);
    EXPECT_EQ(s["vertex_degree"].toInt(), *std::max_element(degree.begin(), degree.end()));
    EXPECT_EQ(std::vector({s["points"].toInt(), s["faces"].toInt(), s["triangles"].toInt()}),
              std::vector({n, check.Faces, check.Triangles}))
        << args;
    // The steps, over the same points, replay to the same edges.
    const QJsonObject steps = ParseJson(Slurp(Path("s.json")));
    EXPECT_EQ(steps["method"].toString().toStdString(), method);
    EXPECT_EQ(JsonPoints(steps), pts);
    std::set<TEdge> replayed;
    for (const QJsonValue step : steps["steps"].toArray()) {
      EXPECT_FALSE(step["text"].toString().isEmpty());
      for (const QJsonValue e : step["remove"].toArray())
        EXPECT_EQ(replayed.erase({e[0].toInt(), e[1].toInt()}), 1u) << args;
      for (const QJsonValue e : step["add"].toArray())
        replayed.insert({e[0].toInt(), e[1].toInt()});
    }
    EXPECT_EQ(std::vector<TEdge>(replayed.begin(), replayed.end()), edges) << args;
    const TArchivoPT saved = LoadPT(Path("o.pt"));  // the points as the method left them
    EXPECT_EQ(saved.Points, pts);
    EXPECT_EQ(saved.Polygon(), method == "shortest-paths");
    EXPECT_EQ(j.contains("layers"), method == "layers");
    EXPECT_EQ(j.contains("dcel"), method != "layers");
    if (method == "sweep") {  // the subdivision: n vertices, one entry per face
      EXPECT_EQ(j["dcel"]["vertices"].toArray().size(), n);
      EXPECT_EQ(j["dcel"]["faces"].toArray().size(), check.Faces);
      for (const QJsonValue h : j["dcel"]["halfedges"].toArray()) EXPECT_EQ(h.toArray().size(), 5);
    }
    if (method == "incremental-face") {  // the fan from the top point, unless chosen at random
      EXPECT_EQ(degree[0] == 7, args.find("random") == std::string::npos) << args;
    }
    if (method == "layers") {  // the edges are the links of the records, but the empty ones
      ASSERT_EQ(j["layers"].toArray().size(), n);
      std::set<TEdge> links;
      for (int v = 0; v < n; ++v) {
        const QJsonArray r = j["layers"][v].toArray();  // point, layer, next, link1, link2, ..
        EXPECT_EQ((TPoint{r[0].toInt(), r[1].toInt()}), pts[size_t(v)]);
        for (int k = 4; k < 7; ++k)
          if (const int w = r[k].toInt(); w != v) links.insert({std::min(v, w), std::max(v, w)});
      }
      EXPECT_EQ(edges, std::vector<TEdge>(links.begin(), links.end()));
    }
  }
}

TEST_F(CliTool, OutCountsTheMovedPointsAndStandardOutputTakesThemAlsoThroughAPipe) {
  // Unsorted, and the first three in sweep order are collinear: point 0 moves one pixel left.
  const std::string in = WritePT("in.pt", {{20, 20}, {30, 0}, {0, 0}, {10, 10}});
  ASSERT_EQ(Cli(in + " --out " + Path("out.pt") + " --json " + Path("r.json")), 0) << err;
  EXPECT_EQ(err, "1 point was moved to avoid coincident or collinear positions.\n");
  EXPECT_EQ(LoadPT(Path("out.pt")).Points, (TNube{{-1, 0}, {10, 10}, {20, 20}, {30, 0}}));
  EXPECT_EQ(ParseJson(Slurp(Path("r.json")))["moved"].toInt(), 1);
  ASSERT_EQ(Cli(Path("out.pt") + " --out " + Path("out2.pt") + " --json -"), 0) << err;
  EXPECT_EQ(Slurp(Path("out2.pt")), Slurp(Path("out.pt")));
  EXPECT_EQ(OutJson()["moved"].toInt(), 0);
  ASSERT_EQ(Cli("--random 4 --uniform --out -"), 0) << err;
  EXPECT_EQ(ParsePT(out).Points.size(), 4u);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 6);  // the figures
  // The program itself: /dev/stdout on a pipe is written through, not replaced.
  ASSERT_EQ(Spawn("--random 4 --json /dev/stdout 2>" + Path("cli.err") + " </dev/null | cat >" +
                  Path("piped")),
            0);
  EXPECT_EQ(Slurp(Path("cli.err")), "");
  const std::string json = Slurp(Path("piped"));
  EXPECT_TRUE(ParseJson(json.substr(0, json.find("Weight"))).contains("points"));
  // Run with standard input closed, a new file may get descriptor 0, as good as any other.
  ASSERT_EQ(Spawn("--random 4 --json " + Path("fd0.json") + " <&- >/dev/null"), 0);
  EXPECT_TRUE(ParseJson(Slurp(Path("fd0.json"))).contains("points"));
}

// A refusal of the input or an output that cannot be written: status 2, the window's message or
// the file and its cause, nothing on standard output.
TEST_F(CliTool, RefusalsAndUnwritableOutputsExitWith2AndLeaveTheOthersAlone) {
  std::filesystem::create_directories(Path("taken.svg"));
  std::ofstream(Path("old.json")) << "old";
  const std::string missing = Path("no/such/dir.json"), png = Path("no/r.png"),
                    pt = Path("no/o.pt"), taken = Path("taken.svg");
  auto cannot = [](const std::string& file, const std::string& reason) {
    return "Cannot write '" + file + "': " + reason + "\n";
  };
  const std::pair<std::string, std::string> rows[] = {
      {"--method incremental-face " + WritePT("line.pt", {{0, 0}, {10, 10}, {20, 20}, {30, 30}}),
       "At least 3 non-collinear points are needed.\n"},
      {"--method sweep " + WritePT("same.pt", {{5, 5}, {5, 5}, {5, 5}}),
       "No coincident points allowed.\n"},
      {"--method shortest-paths " + WritePT("n.pt", kNotch), "Polygon must be defined.\n"},
      {"--method shortest-paths " + WritePT("bow.pt", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, true),
       "Polygon must be simple. No crossing edges allowed.\n"},
      {"--random 2", "At least 3 points are needed.\n"},
      {Path("none.pt"), "File does not exist. Cannot load.\n"},
      {"--random 5 --json " + missing, cannot(missing, "Folder not found")},
      {"--random 5 --image " + taken, cannot(taken, "File access denied")},
      {"--random 5 --image " + png, cannot(png, "Folder not found")},
      {"--random 5 --json " + Path("old.json") + " --out " + pt, cannot(pt, "Folder not found")},
      {"--random 5 --out - --json " + missing, cannot(missing, "Folder not found")}};  // nor stdout
  for (const auto& [args, message] : rows) {
    EXPECT_EQ(Cli(args), 2) << args;
    EXPECT_EQ(err, message) << args;
    EXPECT_EQ(out, "") << args;
  }
  EXPECT_EQ(Slurp(Path("old.json")), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 6);  // no temporaries
  // Destinations are checked before any work: the refusal of the input (too few points, too
  // many to count) or a method's run never comes first.
  TMethodTable spied = DefaultMethods();
  bool ran = false;
  for (TCliMethod& m : spied) {
    m.Run = [&ran, run = m.Run](TCliDocument& d, const TCliOptions& o) {
      ran = true;
      if (run) run(d, o);
    };
  }
  const std::string fourteen = WritePT("14.pt", Convex(14));
  for (const std::string& line :
       {"--random 2 --json " + missing, "--count " + fourteen + " --json " + missing,
        "--enumerate " + missing + " " + fourteen,
        "experiment --method sweep --random 10 --uniform --runs 1 --csv " + missing,
        "experiment --method sweep --random 10 --uniform --runs 1 --csv - --plot " + png}) {
    EXPECT_EQ(Cli(line, spied), kExitFailure) << line;
    EXPECT_EQ(err.rfind("Cannot write '" + Path("no/"), 0), 0u) << line << ": " << err;
    EXPECT_FALSE(ran) << line;
  }
  // Standard output that takes nothing: the figures, the counts, the summary or the JSON are
  // lost, which is a failure with its cause, in-process and as a program.
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  for (const std::string& line :
       {std::string("--random 5"), "--count " + WritePT("c.pt", Convex(5)),
        std::string("--random 5 --json -"),
        "experiment --method sweep --random 10 --uniform --runs 1 --csv " + Path("x.csv")}) {
    TDescriptorBuffer buffer(full);
    std::ostream o(&buffer);
    std::ostringstream e;
    EXPECT_EQ(RunCli(Words(line), o, e), kExitFailure) << line;
    EXPECT_EQ(e.str(), "Cannot write standard output: Disk full\n") << line;
  }
  ::close(full);
  EXPECT_EQ(Spawn("--random 5 >/dev/full 2>/dev/null"), kExitFailure);
}

// Bad arguments, also to the experiment command, exit with 1 and show the usage; help goes to
// standard output; the defaults, and both forms of an option's value.
TEST_F(CliTool, OptionsBadUsageHelpDefaultsAndValueForms) {
  const std::pair<const char*, const char*> lists[] = {
      {"",
       "|--bogus x.pt|--method nothing x.pt|--image a.gif x.pt|--random 5 x.pt|--angle 360 x.pt|"
       "--angle -1 x.pt|--angle 1.5 x.pt|--angle= x.pt|--random 0|--uniform x.pt|--angle|"
       "--random 5 --uniform --normal 20|--triangulation zigzag x.pt|--canvas 100 --random 5|"
       "--canvas 0x10 --random 3|--canvas 300x200 x.pt|a.pt b.pt|--seed -3 x.pt|--check=yes x.pt|"
       "--json= x.pt|--out= x.pt|--image= x.pt|--method sweep --method layers x.pt|--pockets x.pt|"
       "--triangulation fan x.pt|--method layers --pockets x.pt|--json - --out - x.pt|"
       "--json a.json --out a.json x.pt|--json a.out --out ./a.out x.pt|"
       "--count --enumerate e.txt --json ./e.txt x.pt|--version --random 5|--random 5 --version|"
       "--fit x.pt|--steps - --json - x.pt|--steps s.json --flips 2 x.pt|--steps s.json --count "
       "x.pt"},
      {"experiment ",
       "--random 10 --csv x.csv|--uniform --csv x.csv|--random 10 --uniform|"
       "--random 10 --uniform --normal 5 --csv x|--random 10 --uniform --csv x --shard 4/3|"
       "--random 10 --uniform --csv x --method sweep,nosuch|--random 10,0 --uniform --csv x|"
       "--random 10 --random 20 --uniform --csv x|--random 10 --uniform --csv x --plot x|"
       "--random 10 --uniform --csv=|--random 10 --uniform --csv x --plot=|"
       "--random 10 --uniform --csv c.svg --plot ./c.svg|--random 10,10 --uniform --csv x|"
       "--random 10 --uniform --csv x --plot p.gif|--random 10 --uniform --csv x --version"}};
  for (const auto& [command, list] : lists) {
    std::istringstream lines(list);
    for (std::string line; std::getline(lines, line, '|');) {
      EXPECT_EQ(Cli(command + line), kExitUsage) << line;
      EXPECT_NE(err.find("usage: quilvaron-cli " + std::string(command)), std::string::npos)
          << line;
      EXPECT_EQ(out, "") << line;
    }
  }
  EXPECT_EQ(Cli("--help"), kExitOk);
  EXPECT_EQ(out.rfind("usage: quilvaron-cli", 0), 0u);
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

TEST_F(CliTool, CheckFailureExitsWith3AndUnbuiltMethodsAreRefused) {
  // A fake method that leaves only the hull: a face with four convex corners.
  auto hullOnly = [](TCliDocument& doc, const TCliOptions&) {
    BuildHull(doc.Points, doc.PT);
    doc.HasSubdivision = true;
  };
  TMethodTable table = DefaultMethods();
  table.push_back({"hull-only", hullOnly, {}, false});
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

// A convex heptagon has Catalan(5) = 42 triangulations, all pointed; a triangle with one point
// inside has one triangulation and three pointed ones (two of its three spokes each). The
// enumeration lists each pointed one once.
TEST_F(CliTool, CountsMatchThePublishedOnesAndTheEnumerationListsEachPointedOneOnce) {
  for (const auto& [points, pointed, triangulations] :
       {std::tuple(Convex(7), 42, 42),
        std::tuple(TNube{{0, 0}, {100, 0}, {40, 90}, {45, 30}}, 3, 1)}) {
    const std::string file = WritePT("in.pt", points);
    const std::string text = "Pointed pseudo-triangulations: " + std::to_string(pointed) +
                             "\nTriangulations: " + std::to_string(triangulations) + "\n";
    EXPECT_EQ(Cli("--count " + file), kExitOk) << err;
    EXPECT_EQ(out, text);
    EXPECT_EQ(Cli("--count --json - " + file), kExitOk);
    EXPECT_EQ(err, text);
    EXPECT_EQ(OutJson()["pointed_pseudo_triangulations"].toInt(), pointed);
    EXPECT_EQ(OutJson()["triangulations"].toInt(), triangulations);
    ASSERT_EQ(Cli("--enumerate " + Path("all.jsonl") + " " + file), kExitOk);
    std::set<std::vector<TEdge>> seen;
    for (const std::string& line : Lines(Slurp(Path("all.jsonl")))) {
      const std::vector<TEdge> edges = JsonEdges(ParseJson(line));
      EXPECT_TRUE(CheckPseudoTriangulation(points, edges).Pointed());
      EXPECT_TRUE(seen.insert(edges).second);
    }
    EXPECT_EQ(seen.size(), size_t(pointed));
  }
  const std::string five = WritePT("five.pt", Convex(5));
  // The JSON cannot be written (its folder is missing): the enumeration keeps its old content.
  WriteFileSafely(Path("all.jsonl"), "old\n");
  EXPECT_EQ(Cli("--count --enumerate " + Path("all.jsonl") + " --json " + Path("none/n.json") +
                " " + five),
            kExitFailure);
  EXPECT_NE(err.find("n.json"), std::string::npos) << err;
  EXPECT_EQ(Slurp(Path("all.jsonl")), "old\n");
}

// The figures of the lines "Pointed pseudo-triangulations: N" and "Triangulations: N", each
// summed over the text (progress lines aside).
std::pair<uint64_t, uint64_t> Counts(const std::string& text) {
  std::pair<uint64_t, uint64_t> sum{0, 0};
  for (const std::string& line : Lines(text))
    if (line.starts_with("Pointed ") || line.starts_with("Triangulations: "))
      (line[0] == 'P' ? sum.first : sum.second) += std::stoull(line.substr(line.find(':') + 1));
  return sum;
}

TEST_F(CliTool, ThreadsChangeNothingAndShardsAddUpAlsoThroughGnuParallel) {
  const std::string set = "--random 8 --seed 2";
  ASSERT_EQ(Cli("--count --enumerate " + Path("w.jsonl") + " " + set), kExitOk) << err;
  const auto whole = Counts(out);
  const std::string listing = Slurp(Path("w.jsonl"));
  ASSERT_EQ(Cli("--count --threads 3 --enumerate - " + set), kExitOk);
  EXPECT_EQ(Counts(err), whole);
  EXPECT_EQ(out, listing);
  std::pair<uint64_t, uint64_t> sum{0, 0};
  std::vector<std::string> all = Lines(listing), parts;
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    ASSERT_EQ(Cli("--count --threads 2 --enumerate - --shard " + std::string(shard) + " " + set),
              kExitOk);
    const auto [p, t] = Counts(err);
    sum = {sum.first + p, sum.second + t};
    EXPECT_LT(p, whole.first);
    for (const std::string& line : Lines(out)) parts.push_back(line);
  }
  EXPECT_EQ(sum, whole);
  std::ranges::sort(all);
  std::ranges::sort(parts);
  EXPECT_EQ(parts, all);
  // Each shard a program of its own, as on a cluster.
  ASSERT_EQ(
      Spawn("--version > /dev/null && parallel --will-cite -j 3 " + std::string(QUILVARON_CLI) +
            " --count " + set + " --shard {}/3 ::: 1 2 3 > " + Path("shards.txt")),
      0)
      << "GNU parallel (Debian package parallel) is needed";
  const std::string shards = Slurp(Path("shards.txt"));
  EXPECT_EQ(std::ranges::count(shards, '\n'), 6);
  EXPECT_EQ(Counts(shards), whole);
}

TEST_F(CliTool, RandomFlipsKeepAPointedResultAndRefusalsSayWhy) {
  EXPECT_EQ(Cli("--random 40 --uniform --seed 5 --flips 30 --check"), kExitOk) << err;
  EXPECT_NE(out.find("Faces : 38\n"), std::string::npos);
  EXPECT_NE(out.find(", pointed\n"), std::string::npos);
  const std::string big = WritePT("a.pt", Convex(65)), five = WritePT("c.pt", Convex(5));
  const std::string e = Path("e"), f = Path("f");
  const std::tuple<std::string, int, const char*> rows[] = {
      {"--count " + big, kExitFailure, "at most 64 points"},
      {"--count " + WritePT("b.pt", {{0, 0}, {5, 5}, {10, 10}, {3, 9}}), kExitFailure,
       "general position"},
      {"--count --check " + big, kExitUsage, "not --check"},
      {"--threads 2 " + five, kExitUsage, "--threads goes with --count or --enumerate"},
      {"--count --shard 4/3 " + five, kExitUsage, "--shard K needs a whole number from 1 to 3"},
      {"--count --shard 3 " + five, kExitUsage, "--shard needs K/N"},
      {"--enumerate " + Path("none/e.jsonl") + " " + five, kExitFailure, "e.jsonl"},
      {"--enumerate " + Path("") + " " + five, kExitFailure, ""},
      {"--method layers --random 30 --uniform --seed 3 --flips 5 --check", kExitOk, ""},
      {"--enumerate " + e + " --json " + f + " " + five, kExitUsage, "needs --count"},
      {"--count --enumerate " + e + " --json " + e + " " + five, kExitUsage,
       "two outputs name the same file"},
      {"--count --enumerate - --json - " + five, kExitUsage, "cannot share standard output"},
  };
  for (const auto& [line, status, message] : rows) {
    EXPECT_EQ(Cli(line), status) << line;
    EXPECT_NE(err.find(message), std::string::npos) << line << ": " << err;
  }
}

// The CSV lines after the header without the timing column, which no two runs share.
std::vector<std::string> TimelessRows(const std::string& csv) {
  std::vector<std::string> rows = Lines(csv);
  if (!rows.empty()) rows.erase(rows.begin());
  for (std::string& row : rows) row = row.substr(0, row.rfind(','));
  return rows;
}

TEST_F(CliTool, ExperimentRowsAreTheSameWhateverTheThreadsAndTheShards) {
  const std::string run = "experiment --method all --random 12,25 --uniform --runs 4 --seed 5 ";
  ASSERT_EQ(Cli(run + "--threads 1 --csv " + Path("w.csv")), kExitOk) << err;
  std::vector<std::string> whole = TimelessRows(Slurp(Path("w.csv")));
  ASSERT_EQ(whole.size(), 2u * 4u * DefaultMethods().size());
  ASSERT_EQ(Cli(run + "--threads 4 --csv " + Path("t.csv")), kExitOk);
  EXPECT_EQ(TimelessRows(Slurp(Path("t.csv"))), whole);  // in the same order
  std::vector<std::string> parts;
  for (const char* shard : {"1/3", "2/3", "3/3"}) {
    ASSERT_EQ(Cli(run + "--threads 2 --csv " + Path("s.csv") + " --shard " + shard), kExitOk);
    std::ranges::copy(TimelessRows(Slurp(Path("s.csv"))), std::back_inserter(parts));
  }
  std::sort(whole.begin(), whole.end());
  std::sort(parts.begin(), parts.end());
  EXPECT_EQ(parts, whole);
}

TEST(ExperimentSummary, TakesMeanMinimumAndMaximumOverTheFinishedRuns) {
  TSummaryBuilder builder;  // runs of weight w with f faces, refused or not
  for (const auto& [w, f, refused] : {std::tuple(1.0, 4, false), std::tuple(2.0, 8, false),
                                      std::tuple(100.0, 1, true), std::tuple(6.0, 6, false)}) {
    TExperimentRow r;
    r.Method = "m", r.N = 10, r.Refused = refused, r.Stats.WeightValue = w, r.Stats.Faces = f;
    builder.Add(r);
  }
  const std::vector<TSummaryRow> s = builder.Rows();
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(std::tuple(s[0].Finished, s[0].Refused, s[0].Figures[0].Mean, s[0].Figures[0].Min,
                       s[0].Figures[4].Max, s[0].Figures[4].Mean),
            std::tuple(3, 1, 3.0, 1.0, 8.0, 6.0));
}

TEST_F(CliTool, ExperimentWritesTheCsvWithRefusedRowsThePlotAndTheSummary) {
  // Two points: every method refuses as the window does.
  ASSERT_EQ(Cli("experiment --method sweep,layers --random 2 --normal 50 --runs 1 --csv " +
                Path("r.csv")),
            kExitOk);
  EXPECT_EQ(TimelessRows(Slurp(Path("r.csv"))),
            (std::vector<std::string>{"sweep,2,1,,,,,,,,At least 3 points are needed.",
                                      "layers,2,1,,,,,,,,At least 3 points are needed."}));
  // Sizes run by ascending n, whatever their order on the command line; the plot's type is
  // its extension's.
  for (const auto& [plot, magic] :
       {std::pair("e.svg", "<svg"), std::pair("e.PNG", "\x89PNG"), std::pair("e.pdf", "%PDF")}) {
    ASSERT_EQ(Cli("experiment --method sweep,delaunay --random 20,10 --uniform --runs 2 --csv " +
                  Path("e.csv") + " --plot " + Path(plot)),
              0)
        << err;
    const std::vector<std::string> rows = TimelessRows(Slurp(Path("e.csv")));
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[3].substr(0, 12), "delaunay,10,") << rows[3];
    EXPECT_EQ(rows[4].substr(0, 9), "sweep,20,") << rows[4];
    EXPECT_NE(Slurp(Path(plot)).find(magic), std::string::npos) << plot;
    EXPECT_EQ(out.substr(out.find('\n') + 1, 30).find("sweep                     10"), 0u) << out;
  }
  EXPECT_NE(Slurp(Path("e.svg")).find("delaunay"), std::string::npos);
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5);  // one line per method and size
  // As a program: a failed plot is named, the CSV stays as it was, and Qt prints no warning.
  const std::string plot = Path("missing/e.svg");
  EXPECT_EQ(
      Spawn("experiment --method sweep --random 10 --uniform --runs 1 --csv " + Path("e.csv") +
            " --plot " + plot + " 2>" + Path("err") + " >/dev/null </dev/null"),
      2);
  err = Slurp(Path("err"));
  EXPECT_NE(err.find("'" + plot + "'"), std::string::npos) << err;
  EXPECT_EQ(TimelessRows(Slurp(Path("e.csv"))).size(), 8u);  // as the run before left it
  EXPECT_EQ(err.find("XDG_RUNTIME_DIR"), std::string::npos) << err;
  // The rows go to a temporary as they come; interrupted, the program removes it and ends by
  // the signal, the old CSV untouched.
  for (int signal : {SIGINT, SIGTERM}) {
    const std::string csv = Path("e.csv");
    const std::string command = "exec " + std::string(QUILVARON_CLI) +
                                " experiment --method all --random 500 --uniform --runs 100000 "
                                "--threads 1 --csv " +
                                csv + " >/dev/null 2>&1";
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ),
              0);
    auto temporaries = [&] {
      return std::ranges::count_if(std::filesystem::directory_iterator(dir_), [](const auto& e) {
        return e.path().filename().string().starts_with("e.csv.tmp");
      });
    };
    for (int wait = 0; wait < 600 && temporaries() == 0; ++wait) ::usleep(50000);
    EXPECT_EQ(temporaries(), 1);
    ::kill(child, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(temporaries(), 0);
    EXPECT_EQ(TimelessRows(Slurp(csv)).size(), 8u);
  }
}

// How many of the points are drawn in the colour.
int Drawn(const QImage& img, const TNube& pts, QRgb c) {
  return int(std::ranges::count_if(
      pts, [&](TPoint p) { return (img.pixel(p.X, p.Y) & 0xFFFFFFu) == (c & 0xFFFFFFu); }));
}

// --image: the result drawn by the window's rendering into image files.
TEST_F(CliTool, ImageDrawsTheResultInEveryTypeWithTheMethodsScene) {
  // Draws the points with the method's arguments on a 240x160 canvas into the named file.
  auto draw = [&](const std::string& args, const std::string& name, const TNube& pts,
                  bool polygon) {
    EXPECT_EQ(Cli(args + " --canvas 240x160 --image " + Path(name) + " " +
                  WritePT("in.pt", pts, polygon)),
              0)
        << err;
    const QImage img(QString::fromStdString(Path(name)));
    EXPECT_EQ(img.size(), QSize(240, 160)) << name;
    return img;
  };
  // In sweep order for angle 0 already, so that the drawn positions are these.
  const TNube cloud{{20, 100}, {60, 15}, {110, 120}, {200, 40}};
  for (const char* name : {"r.png", "r.bmp"}) {
    const QImage img = draw("", name, cloud, false);
    EXPECT_EQ(Drawn(img, cloud, qRgb(255, 0, 0)), 4) << name;
    // The hull edge from (20, 100) to (60, 15) at a third of its length; a corner stays white.
    EXPECT_GT(Drawn(img, {{32, 72}, {33, 72}, {34, 72}}, 0), 0) << name;
    EXPECT_EQ(Drawn(img, {{230, 150}}, qRgb(255, 255, 255)), 1) << name;
  }
  draw("", "r.jpg", cloud, false);
  EXPECT_NE(Slurp(Path("r.jpg")).find("\xFF\xC0"), std::string::npos);  // baseline frame header
  ASSERT_EQ(Cli("--image " + Path("r.svg") + " --canvas 240x160 " + Path("in.pt")), 0);
  const QByteArray svg = QByteArray::fromStdString(Slurp(Path("r.svg")));
  EXPECT_TRUE(svg.contains("viewBox=\"0 0 240 160\""));
  EXPECT_EQ(svg.count("<ellipse") + svg.count("<circle"), 4);
  EXPECT_TRUE(ImageTypeKnown("a.PNG") && ImageTypeKnown("dir.x/a.jpeg") &&
              ImageTypeKnown("a.Pdf") && ImageTypeKnown("a.tikz"));
  EXPECT_FALSE(ImageTypeKnown("a.gif") || ImageTypeKnown("png"));
  // TikZ with points at the ends of the 32-bit range: every segment is cut to the picture, so
  // every number written lies within its 12 x 7.728 cm (a disc by at most its radius), far
  // below TeX's largest dimension; the edges towards the far points still reach the border,
  // and half their 0.012 cm pen beyond it.
  const TNube far{{INT32_MIN, INT32_MIN}, {INT32_MAX, 0}, {0, INT32_MAX}, {10, 10}, {500, 300}};
  ASSERT_EQ(Cli("--image " + Path("far.tikz") + " " + WritePT("far.pt", far)), 0) << err;
  const std::string tikz = Slurp(Path("far.tikz"));
  const std::regex number("-?[0-9]+\\.[0-9]+");
  int numbers = 0;
  for (auto it = std::sregex_iterator(tikz.begin(), tikz.end(), number);
       it != std::sregex_iterator(); ++it, ++numbers) {
    const double v = std::stod(it->str());
    EXPECT_TRUE(-0.05 <= v && v <= 12.05) << it->str();
  }
  EXPECT_GT(numbers, 20);
  EXPECT_NE(tikz.find(",-0.006);\n\\filldraw"), std::string::npos) << tikz;  // the bottom border
  // The shortest paths scene highlights the first point of the polygon.
  const TNube polygon{{20, 20}, {200, 30}, {120, 70}, {210, 140}, {30, 130}};
  const QImage img = draw("--method shortest-paths", "p.png", polygon, true);
  EXPECT_EQ(Drawn(img, polygon, qRgb(0, 255, 0)), 1);
  EXPECT_EQ(Drawn(img, polygon, qRgb(255, 0, 0)), 4);
  // --fit: points far off the canvas are drawn where the fitted view shows them.
  TNube distant;
  for (const TPoint& p : cloud) distant.push_back({p.X * 1000 - 3000000, p.Y * 700 + 900000});
  const QImage fitted = draw("--fit", "f.png", distant, false);
  const TVista view = TVista::Fit(PointsBox(distant), {240, 160}, TVista::kFitMargin);
  TNube shown;
  for (const TPoint& p : distant) {
    const QPointF s = view.DocToScreen(QPointF(p.X, p.Y));
    shown.push_back({int(std::lround(s.x())), int(std::lround(s.y()))});
  }
  EXPECT_EQ(Drawn(fitted, shown, qRgb(255, 0, 0)), 4);
}

}  // namespace
}  // namespace qv::cli

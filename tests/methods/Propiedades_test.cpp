// One property harness for every method: seeded random and degenerate inputs go through the
// computation each method's driver runs, and every run ends in a result the checker accepts or
// in the refusal the input calls for.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "geometry/UserError.h"
#include "io/ArchivoPT.h"
#include "methods/CaminosMinimos.h"
#include "methods/CaminosOraculo.h"
#include "methods/CapasOraculos.h"
#include "methods/Constructores.h"
#include "methods/Ejecucion.h"
#include "methods/Incremental.h"
#include "methods/Pasos.h"
#include "methods/Remocion.h"
#include "methods/Triangulacion.h"
#include "methods/Triangulos.h"

namespace qv {
namespace {

using namespace qv::testing_triangles;
using qv::testing::AllOnOneLine;

const std::string kFew = "At least 3 points are needed.";
const std::string kCoincident = "No coincident points allowed.";
const std::string kCollinear = "At least 3 non-collinear points are needed.";
const std::string kNotSimple = "Polygon must be simple. No crossing edges allowed.";

struct TInput {
  std::string Name;
  TNube Points;
  std::string Refusal = "";  // polygons only: the refusal they call for
};

// The example files shipped with the program, every one a valid input: point sets and polygons
// alike go through the point methods, polygons through the polygon method too.
std::vector<TInput> Examples(bool polygonsOnly) {
  std::vector<TInput> examples;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QUILVARON_EXAMPLES)) {
    if (entry.path().extension() != ".pt") continue;
    ++files;
    const TArchivoPT file = LoadPT(entry.path().string());
    if (entry.path().stem() == "needs_the_nudge") {  // and it does
      TNube p = file.Points;
      TDCEL d;
      int dragged = kNone;
      EXPECT_EQ(ComputeSweepLine(p, 1.0, 0.0, dragged, d), 1);
    }
    if (!polygonsOnly || file.Polygon())
      examples.push_back({"example " + entry.path().stem().string(), file.Points});
  }
  EXPECT_EQ(files, 8) << "examples in " << QUILVARON_EXAMPLES;
  return examples;
}

// Point sets, unsorted, duplicates allowed: degenerate ones first, then seeded random ones.
const std::vector<TInput>& PointSets() {
  static const std::vector<TInput> sets = [] {
    std::vector<TInput> s = {
        {"two", {{1, 1}, {5, 2}}},
        {"one point thrice", {{5, 5}, {5, 5}, {5, 5}}},
        {"row with a copy", {{5, 5}, {6, 5}, {5, 5}}},
        {"row", {{30, 7}, {10, 7}, {20, 7}, {0, 7}}},
        {"column", {{3, 0}, {3, 9}, {3, 4}, {3, 2}}},
        {"diagonal", {{0, 0}, {4, 2}, {2, 1}}},
        {"collinear start", {{30, 30}, {10, 10}, {20, 20}, {40, 12}}},
        {"copies", {{50, 40}, {0, 0}, {50, 40}, {90, 10}, {50, 40}, {20, 70}}},
        {"cocircular 12", CirclePoints(5)},
        {"cocircular 36", CirclePoints(65, 300, 300)},
        {"lattice", GridPoints(10, 10, 20)},
        {"grid", GridPoints(17, 9, 10)},
        {"extremes", {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {0, 0}, {7, -3}}},
        // The smallest sets on which the joining of convex layers as first stated left
        // overlapping edges or stopped. (30,0), (30,10), (30,40) on the right edge of a layer: the
        // innermost fan from the top to (30,40) would run over (30,10).
        {"column on a layer edge", {{30, 0}, {30, 10}, {20, 20}, {30, 40}}},
        // A collinear innermost layer is a path: a ring link back to its top would lie over the
        // middle point.
        {"collinear inner layer", {{0, 0}, {40, 0}, {10, 10}, {20, 10}, {30, 10}, {20, 40}}},
        // The outer top on the line of a two-point layer joins only the near point.
        {"top on a layer's line", {{10, 10}, {10, 20}, {10, 30}, {0, 40}, {40, 40}}},
        // The outer top on the line of a collinear layer: both tangents land on its near end.
        {"top on a collinear layer", {{30, 0}, {30, 10}, {0, 20}, {30, 20}, {30, 30}, {40, 40}}},
        // (10,40), (10,20), (10,0) on the last layer edge: (10,40) must not see the top (10,0).
        {"last layer edge", {{10, 0}, {30, 0}, {30, 10}, {40, 10}, {10, 20}, {10, 40}}},
        // The same around a one-point inner layer, for the vertex after the top's neighbour.
        {"one inner point", {{0, 0}, {30, 0}, {10, 10}, {0, 30}, {0, 40}}},
        // Horizontal top and bottom edges around one inner point.
        {"flat top and bottom", {{0, 0}, {10, 0}, {20, 0}, {10, 10}, {0, 30}, {10, 30}, {20, 30}}},
    };
    TNube runs;  // three crossing collinear runs
    for (int i = 0; i < 20; ++i)
      runs.insert(runs.end(), {{i * 4, 100}, {60, i * 4}, {i * 3, i * 2}});
    s.push_back({"runs", runs});
    // Two thirds of a 40 x 40 lattice: many points share x, many chains run through points.
    TNube sparseLattice;
    for (int i = 0; i < 40; ++i)
      for (int j = 0; j < 40; ++j)
        if ((i * 7 + j * 13 + i * j) % 3 != 0) sparseLattice.push_back({i * 5, j * 3});
    s.push_back({"sparse lattice", sparseLattice});
    for (uint32_t seed = 1; seed <= 6; ++seed)
      s.push_back({"uniform " + std::to_string(seed), RandomPoints(3 + 19 * seed, seed)});
    for (uint32_t seed = 1; seed <= 3; ++seed)  // 169 pixels: many coincident points
      s.push_back({"clustered " + std::to_string(seed), RandomPoints(60, 100 + seed, 12)});
    TNube huge = RandomPoints(60, 99, 1 << 28);
    for (TPoint& q : huge) q = {q.X * 7 - (1 << 30), q.Y * 7 - (1 << 30)};
    s.push_back({"huge", huge});
    // 256 of the 2048 lattice points of one circle of radius about 2^28 (products of Gaussian
    // primes, one conjugate or the other) and five points whose squared distance from its
    // centre is off by one to three thousand: for many of their quadrilaterals the rounded
    // in-circle determinant is 0 or has the wrong sign.
    const int64_t gauss[][2] = {{2, 1}, {3, 2}, {4, 1}, {5, 2}, {6, 1}, {5, 4},
                                {7, 2}, {6, 5}, {8, 3}, {8, 5}, {9, 4}};
    TNube circle = {{-153154423, 274935529},
                    {-311713262, -43366631},
                    {-83539938, -303425281},
                    {-263934766, 171418382},
                    {-234190910, 210239007}};
    for (int choice = 0; choice < 2048; choice += 8) {
      int64_t x = 1, y = 0;
      for (int k = 0; k < 11; ++k) {
        const int64_t p = gauss[k][0], q = (choice >> k & 1) != 0 ? -gauss[k][1] : gauss[k][1];
        const int64_t nx = x * p - y * q;
        y = x * q + y * p;
        x = nx;
      }
      circle.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y)});
    }
    s.push_back({"near one wide circle", circle});
    for (TInput& example : Examples(false)) s.push_back(std::move(example));
    return s;
  }();
  return sets;
}

const std::vector<TInput>& Polygons() {
  namespace gen = testing_polygons;
  static const std::vector<TInput> polygons = [] {
    std::vector<TInput> p = {
        {"bowtie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, kNotSimple},
        {"repeated vertex", {{0, 0}, {10, 0}, {10, 0}, {0, 10}}, kNotSimple},
        {"touching", {{0, 0}, {10, 0}, {5, 5}, {10, 10}, {0, 10}, {5, 5}}, kNotSimple},
        {"vertex on a side", {{0, 0}, {0, 10}, {5, 0}, {10, 10}, {10, 0}}, kNotSimple},
        // The side x = 10 and the edges meeting it at (10, 10) share only that x.
        {"vertex on an upright side",
         {{10, 0}, {10, 20}, {-10, 20}, {0, 15}, {10, 10}, {0, 5}, {-10, 0}},
         kNotSimple},
        {"two", {{0, 0}, {10, 0}}, kNotSimple},
        {"triangle", {{0, 0}, {10, 0}, {0, 10}}},
    };
    for (const auto& [name, make] : gen::Generators())
      for (uint32_t seed = 2; seed <= 5; ++seed)
        p.push_back(
            {name + " " + std::to_string(seed), make(seed == 5 ? 200 : 23 * seed - 40, seed)});
    for (TInput& example : Examples(true)) p.push_back(std::move(example));
    return p;
  }();
  return polygons;
}

bool HasCopies(TNube p) {
  std::sort(p.begin(), p.end());
  return std::adjacent_find(p.begin(), p.end()) != p.end();
}

// The refusal of the sweep-line and convex-layers drivers: coincident before collinear.
std::string RefusalOfSortedMethods(const TInput& in) {
  if (in.Points.size() < 3) return kFew;
  if (HasCopies(in.Points)) return kCoincident;
  return AllOnOneLine(in.Points) ? kCollinear : "";
}

// The triangulate-and-remove driver nudges copies apart and moves a collinear start one pixel
// left; a set still on one line is refused, naming copies first.
std::string RefusalOfTriangulateRemove(const TInput& in) {
  if (in.Points.size() < 3) return kFew;
  TNube p = in.Points;
  SortForSweep(p);
  if (Orientation(p[0], p[1], p[2]) == Collinear) --p[0].X;
  TNube distinct = p;
  SortForSweep(distinct);
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  if (distinct.size() >= 3 && !AllOnOneLine(distinct)) return "";
  return HasCopies(in.Points) ? kCoincident : kCollinear;
}

// A run ends in "refused: <text>", in "" for a result the checks accept, or in what failed.
using TRun = std::function<std::string(TNube&)>;

// With a recorder attached, what is wrong with its steps as the construction of result: each
// removal must take an edge that is there and each addition one that is not, the last step must
// leave exactly result, and every caption must name points of the set. "" when nothing is.
std::string StepsProblem(const std::vector<TEdge>& result, size_t n) {
  const TRecorder* recorder = ActiveRecorder();
  if (recorder == nullptr) return "";
  std::set<TEdge> edges;
  for (const TStep& s : recorder->Steps()) {
    const std::string text = StepText(s);
    if (text.empty() || text.find('{') != std::string::npos) return "caption: " + text;
    const size_t counted = text.find(" new segment");  // a geodesic's caption counts its edges
    if (counted != std::string::npos &&
        !text.ends_with(": " + std::to_string(s.Add.size()) + text.substr(counted)))
      return "count in caption: " + text;
    const size_t made = text.find(" joins the triangulation: ");  // a fan of one edge more
    if (made != std::string::npos && std::stoul(text.substr(made + 26)) + 1 != s.Add.size())
      return "count in caption: " + text;
    // Counted nouns agree with their count: "1 triangle", "2 triangles".
    static const std::regex plural(
        R"(\b(\d+) (convex chain|triangle|point|edge|new segment)(s?)\b)");
    for (std::sregex_iterator m(text.begin(), text.end(), plural), end; m != end; ++m)
      if (((*m)[1] == "1") != (*m)[3].str().empty()) return "plural in caption: " + text;
    for (int v : s.Points)
      if (v < 0 || static_cast<size_t>(v) >= n) return "point out of range: " + text;
    for (const TEdge& e : s.Remove)
      if (edges.erase(e) == 0) return "removes an absent edge: " + text;
    for (const TEdge& e : s.Add)
      if (e.A >= e.B || static_cast<size_t>(e.B) >= n || !edges.insert(e).second)
        return "adds a bad or present edge: " + text;
  }
  if (std::vector<TEdge>(edges.begin(), edges.end()) != result)
    return "replay differs from the result";
  return "";
}

// The first problem of two checks.
std::string Either(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

std::string Refused(const std::function<std::string()>& run) {
  try {
    return run();
  } catch (const UserError& e) {
    return std::string("refused: ") + e.what();
  }
}

TRun SweepAt(int angle) {
  return [angle](TNube& p) {
    double dx = 0, dy = 0;
    SweepDirectionFromAngle(angle, dx, dy);
    const TNube before = p;
    return Refused([&] {
      TDCEL d;
      int dragged = kNone;
      const int moved = ComputeSweepLine(p, dx, dy, dragged, d);
      if (moved > 1 || CountMovedPoints(before, p) != moved) return std::string("moved count");
      return Either(testing::CheckSweepResult(p, d), StepsProblem(EdgeList(d), p.size()));
    });
  };
}

std::string ConvexLayers(TNube& p) {
  return Refused([&] {
    TPTCapas layers;
    int dragged = kNone;
    ComputeConvexLayers(p, dragged, layers);
    return Either(testing::LayerResultProblem(p, layers),
                  StepsProblem(LayerEdges(layers), p.size()));
  });
}

TRun TriangulateRemove(TRemocionVariant variant) {
  return [variant](TNube& p) {
    const size_t n = p.size();
    return Refused([&] {
      TDCEL d;
      int dragged = kNone;
      ComputeTriangulateRemove(p, variant, dragged, d);
      const TCheckReport report = CheckSubdivision(p, d);
      if (!report.Valid) return report.Reason;
      if (p.size() != n) return std::string("point count changed");
      const bool triangulation =
          variant == TRemocionVariant::Sweep || variant == TRemocionVariant::Delaunay;
      if (triangulation && report.Triangles != report.Faces) return std::string("not triangles");
      if (variant == TRemocionVariant::Delaunay && !LocallyDelaunay(p, d))
        return std::string("not locally Delaunay");
      return StepsProblem(EdgeList(d), p.size());
    });
  };
}

// Without pockets a pseudo-triangulation of the polygon, equal record for record to the
// geodesics inserted from the plain path search; with pockets one of the hull.
std::string ShortestPaths(TNube& p) {
  return Refused([&] {
    TShortestPathsRun run(p);
    const int m = static_cast<int>(p.size());
    std::mt19937 rng(static_cast<uint32_t>(m));
    const TRandomSource random = [&rng](int k) { return static_cast<int>(rng() % unsigned(k)); };
    TDCEL t, plain, full, reference;
    RandomConvexTriangulation(m, random, t);
    run.Compute(t, false, nullptr, plain);
    if (const std::string steps = StepsProblem(EdgeList(plain), p.size()); !steps.empty())
      return steps;
    TRecorder pockets;
    const TRecording recording(ActiveRecorder() ? &pockets : nullptr);
    std::vector<int> polygon(static_cast<size_t>(m));
    for (int i = 0; i < m; ++i) polygon[i] = i;
    TCheckReport report = CheckSubdivisionOfPolygon(p, polygon, plain);
    if (!report.Valid) return "polygon: " + report.Reason;
    BuildPolygon(p, reference);
    oracle::InsertGeodesics(p, t, reference);
    if (plain.Vertices != reference.Vertices || plain.HalfEdges != reference.HalfEdges ||
        plain.Faces != reference.Faces)
      return std::string("differs from the plain insertion");
    const THalfEdgeRanges r = run.Compute(
        t, true, [&](int k, TDCEL& pocket) { RandomConvexTriangulation(k, random, pocket); }, full);
    report = CheckSubdivision(p, full);
    if (!report.Valid) return "hull: " + report.Reason;
    if (const std::string steps = StepsProblem(EdgeList(full), p.size()); !steps.empty())
      return "hull: " + steps;
    for (int e = 0; e < r.ResultEnd; ++e)
      if (full.Origin(e) != plain.Origin(e)) return std::string("polygon part changed");
    return std::string();
  });
}

// Incremental by faces from a random triangulation of the hull's corners: the walk to each
// point's face may start near the previous point or at the estimated face, to the same result.
std::string IncrementalFace(TNube& p) {
  return Refused([&] {
    TNube again = p;
    TDCEL pt, other, chosen;
    int dragged = kNone, draggedAgain = kNone;
    const int h = PrepareIncrementalFace(p, dragged, pt);
    std::mt19937 rng(static_cast<uint32_t>(p.size()));
    if (h > 3)
      RandomConvexTriangulation(
          h, [&rng](int k) { return int(rng() % unsigned(k)); }, chosen);
    CompleteIncrementalFace(p, dragged, chosen, pt, true);
    const std::string steps = StepsProblem(EdgeList(pt), p.size());
    {
      const TRecording detached(nullptr);
      PrepareIncrementalFace(again, draggedAgain, other);
      CompleteIncrementalFace(again, draggedAgain, chosen, other, false);
    }
    if (p != again || EdgeList(pt) != EdgeList(other)) return std::string("walk start matters");
    return Either(testing::CheckSweepResult(p, pt), steps);
  });
}

// Incremental by vertices: every vertex has 2 + its counter edges, each counter step being one
// chain end joined to it.
std::string IncrementalVertex(TNube& p) {
  return Refused([&] {
    TDCEL pt;
    int dragged = kNone;
    std::vector<int> counters;
    ComputeIncrementalVertex(p, dragged, pt, &counters);
    const TCheckReport report = CheckSubdivision(p, pt);
    if (!report.Valid) return report.Reason;
    {
      // The chain steps' search in runs sorted by y against the plain scan of index ranges.
      const TRecording detached(nullptr);
      TNube again = p;
      TDCEL scanned;
      std::vector<int> scannedCounters;
      ComputeIncrementalVertex(again, dragged, scanned, &scannedCounters, false);
      if (EdgeList(pt) != EdgeList(scanned) || counters != scannedCounters)
        return std::string("the indexed search differs from the scan");
    }
    std::vector<int> degree(p.size(), 0);
    for (const TEdge& e : EdgeList(pt)) ++degree[e.A], ++degree[e.B];
    for (size_t v = 0; v < p.size(); ++v)
      if (degree[v] != 2 + counters[v]) return "degree of vertex " + std::to_string(v);
    return StepsProblem(EdgeList(pt), p.size());
  });
}

struct TMethod {
  std::string Name;
  TRun Run;
  bool OnPolygons = false;
  std::function<std::string(const TInput&)> Refusal = RefusalOfSortedMethods;
};

std::ostream& operator<<(std::ostream& os, const TMethod& m) {
  return os << m.Name;
}

class MethodProperties : public ::testing::TestWithParam<TMethod> {};

TEST_P(MethodProperties, EveryInputGivesACheckedResultOrTheRightRefusal) {
  const TMethod& method = GetParam();
  for (const TInput& in : method.OnPolygons ? Polygons() : PointSets()) {
    TNube p = in.Points;
    const std::string expected = method.OnPolygons ? in.Refusal : method.Refusal(in);
    EXPECT_EQ(method.Run(p), expected.empty() ? "" : "refused: " + expected) << in.Name;
    EXPECT_TRUE(expected.empty() || CountMovedPoints(in.Points, p) == 0) << in.Name << " moved";
    // Recorded, the same run: the same points, and steps that replay to its result.
    TNube q = in.Points;
    TRecorder steps;
    const TRecording recording(&steps);
    EXPECT_EQ(method.Run(q), expected.empty() ? "" : "refused: " + expected) << in.Name;
    EXPECT_EQ(q, p) << in.Name;
    EXPECT_TRUE(!expected.empty() || !steps.Steps().empty()) << in.Name;
  }
}

const TMethod kMethods[] = {
    {"Sweep0", SweepAt(0)},
    {"Sweep45", SweepAt(45)},
    {"Sweep90", SweepAt(90)},
    {"Sweep180", SweepAt(180)},
    {"Sweep250", SweepAt(250)},
    {"Sweep315", SweepAt(315)},
    {"ConvexLayers", ConvexLayers},
    {"TriangulateSweep", TriangulateRemove(TRemocionVariant::Sweep), false,
     RefusalOfTriangulateRemove},
    {"TriangulateDelaunay", TriangulateRemove(TRemocionVariant::Delaunay), false,
     RefusalOfTriangulateRemove},
    {"RemoveEdges", TriangulateRemove(TRemocionVariant::RemoveEdges), false,
     RefusalOfTriangulateRemove},
    {"RemoveTriangles", TriangulateRemove(TRemocionVariant::RemoveTriangles), false,
     RefusalOfTriangulateRemove},
    {"IncrementalFace", IncrementalFace},
    {"IncrementalVertex", IncrementalVertex},
    {"ShortestPaths", ShortestPaths, true},
};

INSTANTIATE_TEST_SUITE_P(AllMethods, MethodProperties, ::testing::ValuesIn(kMethods),
                         [](const auto& row) { return row.param.Name; });

// A placeholder {k} names the step's point k; other text, digits and braces included, stays.
TEST(StepText, PlaceholdersNameTheStepsPoints) {
  EXPECT_EQ(StepText({{}, {}, {7, 9}, "{1}-{0}, {2}, a1}, {x}, {"}), "9-7, {2}, a1}, {x}, {");
  // A swept collinear start names its run and the point that joins it.
  TRecorder steps;
  TNube p = {{0, 0}, {1, 0}, {2, 0}, {5, -3}};
  TDCEL d;
  {
    const TRecording recording(&steps);
    SweepTriangulation(p, d);
  }
  EXPECT_EQ(StepText(steps.Steps().front()),
            "Points 0 to 2 lie on one line: point 3 joins each of them");
}

}  // namespace
}  // namespace qv

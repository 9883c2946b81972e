#include "stats/Estadisticas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "geometry/FuncionesMatematicas.h"

namespace qv {

namespace {

// A half-edge whose fields can be followed: live, with a next half-edge in the table.
bool Followable(const TDCEL& s, int e) {
  const int next = s.Next(e);
  return s.Origin(e) != kNone && next >= 0 && next < s.HalfEdgeCount();
}

// Length of the face cycle from start, bounded by the number of half-edges so that a broken
// cycle cannot hold the walk.
int CycleLength(const TDCEL& s, int start) {
  const int limit = s.HalfEdgeCount();
  int d = 0;
  int e = start;
  do {
    ++d;
    e = s.Next(e);
  } while (e != start && e >= 0 && e < limit && d < limit);
  return d;
}

}  // namespace

double PTWeight(const TNube& points, const TDCEL& subdivision) {
  const TDCEL& s = subdivision;
  const int nh = s.HalfEdgeCount();
  const int np = static_cast<int>(points.size());
  std::vector<bool> counted(static_cast<size_t>(nh), false);
  double weight = 0.0;
  for (int e = 0; e < nh; ++e) {
    if (!Followable(s, e)) continue;
    const int t = s.Twin(e);
    if (t != kNone && counted[t]) continue;  // a twin is a half-edge of the table
    counted[e] = true;
    const int a = s.Origin(e), b = s.Destination(e);
    if (a < 0 || a >= np || b < 0 || b >= np) continue;
    weight += Distance(points[a], points[b]);
  }
  return weight;
}

int PTVertexDegree(const TDCEL& subdivision) {
  const TDCEL& s = subdivision;
  const int nv = s.VertexCount();
  std::vector<int> degree(static_cast<size_t>(nv), 0);
  int result = 2;
  for (int e = 0; e < s.HalfEdgeCount(); ++e) {
    const int v = s.Origin(e);
    if (v < 0 || v >= nv) continue;
    degree[v] += s.HasTwin(e) ? 1 : 2;
    result = std::max(result, degree[v]);
  }
  return result;
}

void PTFaceStats(const TDCEL& subdivision, int& triangles, int& others, int& maxDegree) {
  const TDCEL& s = subdivision;
  triangles = 0;
  others = 0;
  maxDegree = 3;
  for (int f = 0; f < s.FaceCount(); ++f) {
    const int e = s.FaceEdge(f);
    if (e == kNone) continue;  // a face removed
    const int d = CycleLength(s, e);
    if (d == 3)
      ++triangles;
    else
      ++others;
    maxDegree = std::max(maxDegree, d);
  }
}

std::string WeightText(double weight, const std::string& thousandsSeparator) {
  const double rounded = std::round(weight);
  if (!std::isfinite(rounded) || rounded < 1.0) return {};
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.0f", rounded);
  const std::string plain(digits);
  std::string out;
  const size_t n = plain.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += thousandsSeparator;
    out += plain[i];
  }
  return out;
}

TStatistics ComputeStatistics(const TNube& points, const TDCEL& subdivision,
                              const std::string& thousandsSeparator) {
  TStatistics stats;
  stats.Points = static_cast<int>(points.size());
  stats.WeightValue = PTWeight(points, subdivision);
  stats.Weight = WeightText(stats.WeightValue, thousandsSeparator);
  int triangles = 0, others = 0, maxDegree = 3;
  PTFaceStats(subdivision, triangles, others, maxDegree);
  stats.FaceDegree = maxDegree;
  stats.Triangles = triangles;
  stats.Faces = triangles + others;
  stats.VertexDegree = PTVertexDegree(subdivision);
  return stats;
}

}  // namespace qv

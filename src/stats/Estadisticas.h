// The figures of a result shown in the statistics panel: weight, vertex degree, face degree,
// points, faces and triangles.
#pragma once

#include <string>

#include "dcel/DCEL.h"
#include "geometry/Tipos.h"

namespace qv {

// Total Euclidean length of the live edges, each counted once (an inner edge from whichever of
// its half-edges comes first, a boundary edge from its single half-edge).
double PTWeight(const TNube& points, const TDCEL& subdivision);
// Largest number of edges at a vertex; a boundary half-edge counts 2 at its origin (the boundary
// edges leaving and entering it), an inner half-edge 1. Never below 2.
int PTVertexDegree(const TDCEL& subdivision);
// Over the live faces: how many have exactly 3 edges (triangles), how many have more or fewer
// (others), and the largest number of edges of a face (never below 3).
void PTFaceStats(const TDCEL& subdivision, int& triangles, int& others, int& maxDegree);

// The weight as the panel writes it ("###,###"): rounded to an integer (halves away from zero)
// with thousands grouped by thousandsSeparator; empty when it rounds to 0.
std::string WeightText(double weight, const std::string& thousandsSeparator);

// The six figures in the panel's order, plus the unrounded weight.
struct TStatistics {
  std::string Weight;        // weight text
  double WeightValue = 0.0;  // unrounded weight
  int VertexDegree = 2;
  int FaceDegree = 3;
  int Points = 0;
  int Faces = 0;
  int Triangles = 0;
};

// Points is the size of the point set; Faces = triangles + others of PTFaceStats.
TStatistics ComputeStatistics(const TNube& points, const TDCEL& subdivision,
                              const std::string& thousandsSeparator);

}  // namespace qv

// The figures of a plane straight-line graph given by its edges alone, such as a construction
// caught halfway: the faces are traced from the edges' directions around each point.
#pragma once

#include <string>
#include <vector>

#include "geometry/Tipos.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv {

// The panel's six figures of the graph whose edges (no crossings, each once, ends in range) are
// given: weight and vertex degree from the edges; the faces are the bounded regions traced
// around the edges (a face walk turning at every point to the next edge clockwise on the
// screen), each counted by its outer walk, its degree the length of that walk. For the edges of
// a subdivision without holes the figures are those of ComputeStatistics.
TStatistics EdgeGraphStatistics(const TNube& points, const std::vector<TEdge>& edges,
                                const std::string& thousandsSeparator);

}  // namespace qv

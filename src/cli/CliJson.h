// The result of a run as one JSON object.
#pragma once

#include <string>
#include <vector>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"
#include "methods/Pasos.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv::cli {

// {"method", "angle", "points", "polygon", "moved" (points the method moved), "edges", "dcel" (when
// there is a subdivision), "layers" (when there are layer records), "stats"}; numbers in the C
// locale, the weight unrounded (shortest text that reads back to the same double).
std::string ResultJson(const TCliOptions& options, const TCliDocument& doc,
                       const std::vector<TEdge>& edges, const TStatistics& stats);

// {"method", "points" (as in ResultJson), "steps": [{"add": [[a, b], ...], "remove": [...],
// "text": "..."}, ...]}: the construction, whose steps applied in order to an empty edge set
// give the result's edges.
std::string StepsJson(const std::string& method, const TNube& points,
                      const std::vector<TStep>& steps);

// A JSON string literal for text (quotes, backslashes and control bytes escaped).
std::string JsonString(const std::string& text);

}  // namespace qv::cli

// The experiment's summary as a chart: mean weight and mean vertex degree of every method
// against the number of points, drawn by Qt Charts into an SVG file.
#pragma once

#include <string>
#include <vector>

#include "cli/CliExperiment.h"

namespace qv::cli {

// The chart as the text of an SVG file; nothing is written here.
std::string SummaryPlot(const std::vector<TSummaryRow>& summary);

}  // namespace qv::cli

// The experiment's summary as a chart: mean weight and mean vertex degree of every method
// against the number of points, drawn by Qt Charts into an SVG file.
#pragma once

#include <string>
#include <vector>

#include "cli/CliExperiment.h"

namespace qv::cli {

// Throws UserError when the file cannot be written.
void WriteSummaryPlot(const std::string& path, const std::vector<TSummaryRow>& summary);

}  // namespace qv::cli

// The experiment's summary as a chart: mean weight and mean vertex degree of every method
// against the number of points, drawn by Qt Charts into an SVG, PNG or PDF file.
#pragma once

#include <string>
#include <vector>

#include "cli/CliExperiment.h"

namespace qv::cli {

// True for the file types a plot is written as: .svg, .png and .pdf (any case), and "-"
// (standard output, SVG).
bool PlotTypeKnown(const std::string& fileName);

// The chart as the content of fileName, of the type its extension names; nothing is written
// here.
std::string SummaryPlot(const std::vector<TSummaryRow>& summary, const std::string& fileName);

}  // namespace qv::cli

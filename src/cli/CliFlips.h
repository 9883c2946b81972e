// The flip options of quilvaron-cli: --count and --enumerate FILE work on the input point set
// alone; --flips K walks K random flips from a method's pointed result before its outputs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"
#include "methods/Flips.h"

namespace qv::cli {

// The largest set --count and --enumerate take. The counters cannot overflow below it: they
// grow by one per pseudo-triangulation visited, and 2^64 visits would take hundreds of
// thousands of years at the search's rate.
inline constexpr int kMaxCountedPoints = kMaxSearchedPoints;

// Refuses flip options given with options they do not go with. Throws UsageError.
void CheckFlipOptions(const TCliOptions& options);

// True when the run counts or enumerates instead of running a method.
bool CountRequested(const TCliOptions& options);

// Counts (and with --enumerate writes) the pointed pseudo-triangulations and the triangulations
// of the input points (or of one --shard of them), in the order of the file or of the generator.
// The enumeration is streamed into a temporary that replaces its file once it is complete and
// the JSON is written; "-" streams to out. Prints the two lines (to err when an output goes to
// standard output) and, after the first second, the progress on err.
// Throws UserError for a set it cannot count.
int RunCount(const TCliOptions& options, std::ostream& out, std::ostream& err);

// Applies options.Flips random flips (seeded with options.Seed) to the document's pointed
// result, rebuilding its subdivision. Throws UserError when the result is not pointed.
void ApplyRandomFlips(TCliDocument& doc, const TCliOptions& options);

}  // namespace qv::cli

// The flip options of quilvaron-cli: --count and --enumerate FILE work on the input point set
// alone; --flips K walks K random flips from a method's pointed result before its outputs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"

namespace qv::cli {

// The largest set --count and --enumerate take: the numbers grow exponentially, and a random
// set of this size is counted within a minute (about 26 s of processor time for 13 points).
inline constexpr int kMaxCountedPoints = 13;

// Refuses flip options given with options they do not go with. Throws UsageError.
void CheckFlipOptions(const TCliOptions& options);

// True when the run counts or enumerates instead of running a method.
bool CountRequested(const TCliOptions& options);

// Counts (and with --enumerate writes) the pointed pseudo-triangulations and the triangulations
// of the input points, in the order of the file or of the generator. The enumeration and the
// JSON are written together by the safe writer. Prints the two lines (to err when an output goes
// to standard output) and a progress line on err after the first second.
// Throws UserError for a set it cannot count.
int RunCount(const TCliOptions& options, std::ostream& out, std::ostream& err);

// Applies options.Flips random flips (seeded with options.Seed) to the document's pointed
// result, rebuilding its subdivision. Throws UserError when the result is not pointed.
void ApplyRandomFlips(TCliDocument& doc, const TCliOptions& options);

}  // namespace qv::cli

// One run of quilvaron-cli: options, input, method, outputs, exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv::cli {

enum TExitStatus : int { kExitOk = 0, kExitUsage = 1, kExitFailure = 2, kExitCheckFailed = 3 };

// Runs the tool on the arguments after the program name; figures go to out (to err when the
// JSON or the points go to standard output), messages to err. The outputs are written together
// by the safe writer; one that fails is named in the message. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const TMethodTable& methods = DefaultMethods());

// The input the window would hold before executing: a file's points (sorted along the sweep
// direction unless they are taken as a polygon) or a random distribution. Throws UserError.
TCliDocument LoadDocument(const TCliOptions& options, const TCliMethod& method);

// The six figures with the panel's captions, one per line.
void PrintStatistics(std::ostream& out, const TStatistics& stats);
// The checker's verdict on the document's result.
TCheckReport CheckDocument(const TCliDocument& doc);
void PrintCheck(std::ostream& out, const TCheckReport& report);

}  // namespace qv::cli

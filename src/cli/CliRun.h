// One run of quilvaron-cli: options, input, method, outputs, exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliMethods.h"
#include "cli/CliOptions.h"
#include "io/Salida.h"
#include "methods/Verificador.h"
#include "stats/Estadisticas.h"

namespace qv::cli {

enum TExitStatus : int { kExitOk = 0, kExitUsage = 1, kExitFailure = 2, kExitCheckFailed = 3 };

// Runs the tool on the arguments after the program name; figures go to out (to err when the
// JSON or the points go to standard output), messages to err. The outputs are written together
// by the safe writer; one that fails is named in the message. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const TMethodTable& methods = DefaultMethods());

// Writes the outputs together ("-" to out); a failure is a UserError naming the output's file.
void WriteOutputs(const std::vector<TOutputFile>& outputs, std::ostream& out);

// The input the window would hold before executing: a file's points (sorted along the sweep
// direction unless they are taken as a polygon) or a random distribution. Throws UserError.
TCliDocument LoadDocument(const TCliOptions& options, const TCliMethod& method);

// The six figures with the panel's captions, one per line.
void PrintStatistics(std::ostream& out, const TStatistics& stats);
// The checker's verdict on the document's result.
TCheckReport CheckDocument(const TCliDocument& doc);
void PrintCheck(std::ostream& out, const TCheckReport& report);

// The writer's failure as the tool reports it: a UserError "Cannot write 'NAME': cause" (or
// "standard output"), control bytes of the name shown as '?'.
[[noreturn]] void CannotWrite(const TFileError& error);

// Refuses, before any work, an output that could not be written now (missing folder, a folder,
// a file the user may not write): throws UserError as WriteOutputs would. Empty names are none.
void CheckDestinations(const std::vector<std::string>& names);

}  // namespace qv::cli

// quilvaron-cli run in-process through its library (or, where only a separate process shows the
// behaviour, as a program) in a scratch folder, and readers of its JSON.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "cli/CliRun.h"
#include "cli/JsonLite.h"
#include "io/ArchivoPT.h"
#include "methods/Verificador.h"

namespace qv::test {

class CliPrueba : public TScratchTest {
 protected:
  // Runs the tool on whitespace-separated arguments, keeping out and err; returns the status.
  int Cli(const std::string& line) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    std::ostringstream o, e;
    const int status = cli::RunCli(args, o, e);
    out = o.str();
    err = e.str();
    return status;
  }
  // The program itself, through the shell; returns its exit status.
  static int Spawn(const std::string& shellArgs) {
    const int raw = std::system((std::string(QUILVARON_CLI) + " " + shellArgs).c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::string WritePT(const std::string& name, const TNube& pts, bool polygon = false) const {
    SavePT(Path(name), pts, polygon);
    return Path(name);
  }
  testjson::Value Json() const { return testjson::Parse(out); }

  std::string out, err;
};

inline TNube JsonPoints(const testjson::Value& j) {
  TNube pts;
  for (const auto& p : j["points"].A)
    pts.push_back({static_cast<int32_t>(p[0].Int()), static_cast<int32_t>(p[1].Int())});
  return pts;
}

// The edges of the JSON, sorted.
inline std::vector<TEdge> JsonEdges(const testjson::Value& j) {
  std::vector<TEdge> edges;
  for (const auto& e : j["edges"].A)
    edges.push_back({static_cast<int>(e[0].Int()), static_cast<int>(e[1].Int())});
  std::sort(edges.begin(), edges.end());
  return edges;
}

}  // namespace qv::test

// quilvaron-cli run as a separate program in a scratch folder: exit status, both output
// streams, and the points and edges of its JSON.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "cli/JsonLite.h"
#include "io/ArchivoPT.h"
#include "methods/Verificador.h"

namespace qv::test {

struct TRunResult {
  int Status = -1;
  std::string Out, Err;
};

class CliPrueba : public TScratchTest {
 protected:
  // Runs the tool with arguments (already shell-safe) and collects what it wrote.
  TRunResult Run(const std::string& args) const {
    const std::string cmd = std::string(QUILVARON_CLI) + " " + args + " >" + Path("stdout") +
                            " 2>" + Path("stderr") + " </dev/null";
    const int raw = std::system(cmd.c_str());
    TRunResult r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = Slurp(Path("stdout"));
    r.Err = Slurp(Path("stderr"));
    return r;
  }
  // As Run, keeping the streams in out and err; returns the exit status.
  int Cli(const std::string& args) {
    TRunResult r = Run(args);
    out = r.Out;
    err = r.Err;
    return r.Status;
  }
  std::string WritePT(const std::string& name, const TNube& pts) const {
    SavePT(Path(name), pts, false);
    return Path(name);
  }
  std::string WritePT(const TNube& pts) const { return WritePT("in.pt", pts); }

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

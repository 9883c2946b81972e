// quilvaron-cli run in-process through its library (or, where only a separate process shows the
// behaviour, as a program) in a scratch folder, and its JSON read
// by Qt's strict reader.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "cli/CliRun.h"
#include "io/ArchivoPT.h"
#include "methods/Verificador.h"

namespace qv::test {

// The JSON text as an object; the test fails when it is no JSON document or has text after it.
inline QJsonObject ParseJson(const std::string& text) {
  QJsonParseError e{};
  const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(text), &e);
  EXPECT_EQ(e.error, QJsonParseError::NoError) << e.errorString().toStdString() << ": " << text;
  return d.object();
}

class CliPrueba : public TScratchTest {
 protected:
  // Runs the tool on whitespace-separated arguments, keeping out and err; returns the status.
  int Cli(const std::string& line, const cli::TMethodTable& methods = cli::DefaultMethods()) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string w; words >> w;) args.push_back(w);
    std::ostringstream o, e;
    const int status = cli::RunCli(args, o, e, methods);
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
  QJsonObject OutJson() const { return ParseJson(out); }

  std::string out, err;
};

inline TNube JsonPoints(const QJsonObject& j) {
  TNube pts;
  for (const QJsonValue p : j["points"].toArray()) pts.push_back({p[0].toInt(), p[1].toInt()});
  return pts;
}

// The edges of the JSON, sorted.
inline std::vector<TEdge> JsonEdges(const QJsonObject& j) {
  std::vector<TEdge> edges;
  for (const QJsonValue e : j["edges"].toArray()) edges.push_back({e[0].toInt(), e[1].toInt()});
  std::sort(edges.begin(), edges.end());
  return edges;
}

}  // namespace qv::test

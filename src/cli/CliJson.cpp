#include "cli/CliJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace qv::cli {
namespace {

void AppendDouble(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, ec == std::errc() ? end : buffer);
}

// [[a, b, ...], ...] from rows of integers.
template <class Rows, class Row>
void AppendRows(std::string& out, const Rows& rows, Row&& fields) {
  out += "[";
  bool first = true;
  for (const auto& row : rows) {
    out += first ? "[" : ", [";
    first = false;
    bool firstField = true;
    for (long long v : fields(row)) {
      if (!firstField) out += ", ";
      firstField = false;
      out += std::to_string(v);
    }
    out += "]";
  }
  out += "]";
}

void AppendIntegers(std::string& out, const std::vector<int>& values) {
  out += "[";
  for (size_t i = 0; i < values.size(); ++i) out += (i ? ", " : "") + std::to_string(values[i]);
  out += "]";
}

void AppendDcel(std::string& out, const TDCEL& pt) {
  out += ",\n \"dcel\": {\"vertices\": ";
  AppendIntegers(out, pt.Vertices);
  out += ",\n          \"halfedges\": ";
  AppendRows(out, pt.HalfEdges, [](const THalfEdge& h) {
    return std::vector<long long>{h.Origin, h.Prev, h.Next, h.Twin, h.Face};
  });
  out += ",\n          \"faces\": ";
  AppendIntegers(out, pt.Faces);
  out += "}";
}

void AppendStats(std::string& out, const TStatistics& s) {
  out += ",\n \"stats\": {\"weight\": ";
  AppendDouble(out, s.WeightValue);
  out += ", \"vertex_degree\": " + std::to_string(s.VertexDegree) +
         ", \"face_degree\": " + std::to_string(s.FaceDegree) +
         ", \"points\": " + std::to_string(s.Points) + ", \"faces\": " + std::to_string(s.Faces) +
         ", \"triangles\": " + std::to_string(s.Triangles) + "}";
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string ResultJson(const TCliOptions& options, const TCliDocument& doc,
                       const std::vector<TEdge>& edges, const TStatistics& stats) {
  std::string out = "{\"method\": " + JsonString(options.Method) +
                    ", \"angle\": " + std::to_string(options.Angle) + ",\n \"points\": ";
  AppendRows(out, doc.Points, [](const TPoint& p) { return std::vector<long long>{p.X, p.Y}; });
  out += std::string(",\n \"polygon\": ") + (doc.Polygon ? "true" : "false") +
         ", \"moved\": " + std::to_string(doc.Moved) + ",\n \"edges\": ";
  AppendRows(out, edges, [](const TEdge& e) { return std::vector<long long>{e.A, e.B}; });
  if (doc.HasSubdivision) AppendDcel(out, doc.PT);
  if (!doc.Layers.empty()) {
    out += ",\n \"layers\": ";
    AppendRows(out, doc.Layers, [](const std::vector<long long>& r) { return r; });
  }
  AppendStats(out, stats);
  return out + "}\n";
}

std::string StepsJson(const std::string& method, const TNube& points,
                      const std::vector<TStep>& steps) {
  std::string out = "{\"method\": " + JsonString(method) + ",\n \"points\": ";
  AppendRows(out, points, [](const TPoint& p) { return std::vector<long long>{p.X, p.Y}; });
  out += ",\n \"steps\": [";
  const auto edges = [](const TEdge& e) { return std::vector<long long>{e.A, e.B}; };
  for (size_t i = 0; i < steps.size(); ++i) {
    out += i == 0 ? "\n  {\"add\": " : ",\n  {\"add\": ";
    AppendRows(out, steps[i].Add, edges);
    out += ", \"remove\": ";
    AppendRows(out, steps[i].Remove, edges);
    out += ", \"text\": " + JsonString(StepText(steps[i])) + "}";
  }
  return out + "]}\n";
}

}  // namespace qv::cli

#include "methods/Pasos.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

namespace qv {

namespace pasos_detail {
constinit thread_local TRecorder* gActive = nullptr;
}

namespace {

TEdge Ordered(TEdge e) {
  return e.A <= e.B ? e : TEdge{e.B, e.A};
}

void OrderAll(std::vector<TEdge>& edges) {
  for (TEdge& e : edges) e = Ordered(e);
}

// The live edges of a subdivision as pairs, each once.
std::vector<TEdge> LiveEdges(const TDCEL& d) {
  return EdgeList(d);
}

}  // namespace

std::string StepText(const TStep& step) {
  std::string text;
  const std::string& c = step.Caption;
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] == '{' && i + 2 < c.size() && c[i + 1] >= '0' && c[i + 1] <= '9' && c[i + 2] == '}') {
      const std::size_t k = static_cast<std::size_t>(c[i + 1] - '0');
      if (k < step.Points.size()) {
        text += std::to_string(step.Points[k]);
        i += 2;
        continue;
      }
    }
    text += c[i];
  }
  return text;
}

void TRecorder::Step(std::vector<TEdge> add, std::vector<TEdge> remove, std::string caption,
                     std::vector<int> points) {
  OrderAll(add);
  OrderAll(remove);
  steps_.push_back({std::move(add), std::move(remove), std::move(points), std::move(caption)});
}

void TRecorder::StepAdded(const TDCEL& d, int from, std::string caption, std::vector<int> points) {
  std::vector<TEdge> add;
  for (int e = std::max(from, 0); e < d.HalfEdgeCount(); ++e) {
    const int t = d.Twin(e);
    if (d.Origin(e) == kNone || (t != kNone && t < e)) continue;  // old edge, or met at the twin
    add.push_back({d.Origin(e), d.Destination(e)});
  }
  Step(std::move(add), {}, std::move(caption), std::move(points));
}

void TRecorder::StepTo(const TDCEL& d, std::string caption, std::vector<int> points) {
  const std::vector<TEdge> before = ReplaySteps(steps_), after = LiveEdges(d);
  std::vector<TEdge> add, remove;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::back_inserter(add));
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::back_inserter(remove));
  Step(std::move(add), std::move(remove), std::move(caption), std::move(points));
}

void TRecorder::Renumber(int lo, int hi, const std::function<int(int)>& map) {
  const auto apply = [&](int& v) {
    if (v >= lo && v <= hi) v = map(v);
  };
  for (TStep& s : steps_) {
    for (std::vector<TEdge>* edges : {&s.Add, &s.Remove}) {
      for (TEdge& e : *edges) {
        apply(e.A);
        apply(e.B);
        e = Ordered(e);
      }
    }
    for (int& p : s.Points) apply(p);
  }
}

void TRecorder::Truncate(std::size_t count) {
  if (count < steps_.size()) steps_.resize(count);
}

std::vector<TEdge> ReplaySteps(const std::vector<TStep>& steps, std::size_t count) {
  std::set<TEdge> edges;
  const std::size_t end = std::min(count, steps.size());
  for (std::size_t i = 0; i < end; ++i) {
    for (const TEdge& e : steps[i].Remove) edges.erase(e);
    for (const TEdge& e : steps[i].Add) edges.insert(e);
  }
  return {edges.begin(), edges.end()};
}

void RecordSweepStart(TRecorder& recorder, const TDCEL& d, int first) {
  if (first == 3) {
    recorder.StepAdded(d, 0, "Triangle {0}-{1}-{2} starts the sweep", {0, 1, 2});
  } else {
    recorder.StepAdded(d, 0, "Points {0} to {1} lie on one line: point {2} joins each of them",
                       {0, first - 2, first - 1});
  }
}

}  // namespace qv

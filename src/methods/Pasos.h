// The construction of a result as a sequence of steps, for watching a method build it.
//
// A method reports its steps to the recorder attached to the running thread, if any: with none
// attached a step point costs one null-pointer test and builds nothing. A step is a set of
// edges added and a set removed (point pairs, smaller index first) with a caption in the
// method's own terms. Applying the steps in order to an empty edge set, each step's removals
// before its additions, gives the result's edges. Point numbers are the indices of the points
// in the result: where a method renumbers points after recording, it renumbers the steps too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dcel/DCEL.h"
#include "methods/Verificador.h"

namespace qv {

struct TStep {
  std::vector<TEdge> Add;
  std::vector<TEdge> Remove;
  // The points the step is about; the caption names Points[k] as "{k}" (k a single digit).
  std::vector<int> Points;
  std::string Caption;
};

// The caption with the point numbers filled in.
std::string StepText(const TStep& step);

class TRecorder {
 public:
  // A step; every pair is stored smaller index first.
  void Step(std::vector<TEdge> add, std::vector<TEdge> remove, std::string caption,
            std::vector<int> points = {});
  // A step adding the edges that half-edges from, from + 1, ... of d brought in: a half-edge
  // whose twin is older than from lies along an edge that was already there.
  void StepAdded(const TDCEL& d, int from, std::string caption, std::vector<int> points = {});
  // A step bringing the edges so far to the live edges of d (for stages that rebuild the
  // subdivision wholesale; it replays every step, so it is kept to a few calls a run).
  void StepTo(const TDCEL& d, std::string caption, std::vector<int> points = {});
  // Points lo .. hi were renumbered by map (an index outside that range keeps its number).
  void Renumber(int lo, int hi, const std::function<int(int)>& map);

  std::size_t Size() const { return steps_.size(); }
  // Drops the steps from count on (a stage that was tried and undone).
  void Truncate(std::size_t count);
  void Clear() { steps_.clear(); }
  const std::vector<TStep>& Steps() const { return steps_; }

 private:
  std::vector<TStep> steps_;
};

// The edges, sorted, that the first count steps leave on an empty edge set (all of them for
// count beyond the end).
std::vector<TEdge> ReplaySteps(const std::vector<TStep>& steps, std::size_t count = SIZE_MAX);

namespace pasos_detail {
// Constant-initialised, so that every read is a plain thread-local load, not a call.
extern thread_local constinit TRecorder* gActive;
}  // namespace pasos_detail

// The recorder the methods running on this thread report to, or nullptr.
inline TRecorder* ActiveRecorder() {
  return pasos_detail::gActive;
}

// Attaches a recorder to this thread for the scope's lifetime (nullptr detaches).
class TRecording {
 public:
  explicit TRecording(TRecorder* recorder) : previous_(pasos_detail::gActive) {
    pasos_detail::gActive = recorder;
  }
  ~TRecording() { pasos_detail::gActive = previous_; }
  TRecording(const TRecording&) = delete;
  TRecording& operator=(const TRecording&) = delete;

 private:
  TRecorder* previous_;
};

// The first step of a sweep that built the first `first` points of d: a triangle, or a
// collinear run joined to the point after it.
void RecordSweepStart(TRecorder& recorder, const TDCEL& d, int first);

}  // namespace qv

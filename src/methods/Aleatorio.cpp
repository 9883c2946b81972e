#include "methods/Aleatorio.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_set>
#include <utility>

#include "geometry/UserError.h"

namespace qv {

namespace {

constexpr uint32_t kMultiplier = 134775813u;
constexpr double kTwoToMinus32 = 1.0 / 4294967296.0;

// Every generation loop stops after this many rejected draws per point requested (plus a fixed
// allowance): far more than a canvas with room ever needs, so only a hopeless request ends here.
constexpr int64_t kDrawsPerPoint = 100;
constexpr int64_t kExtraDraws = 100000;

[[noreturn]] void CanvasTooSmall() {
  throw UserError("The canvas is too small for this distribution.");
}

// The sum of 12 draws keeps a normal coordinate within 6 deviations of the centre. When that
// square lies inside the canvas, the deviation and not the canvas is what leaves no room.
[[noreturn]] void NormalTooNarrow(double deviation, double cx, double cy, int xmax, int ymax) {
  const double spread = 6.0 * std::abs(deviation);
  if (cx - spread >= 0.0 && cx + spread <= xmax && cy - spread >= 0.0 && cy + spread <= ymax)
    throw UserError("The deviation is too small for this many points.");
  CanvasTooSmall();
}

uint64_t PackPoint(TPoint p) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(p.X)) << 32) | static_cast<uint32_t>(p.Y);
}

// The points drawn so far, refusing repeats.
class TDistinctPoints {
 public:
  explicit TDistinctPoints(int count) {
    seen_.reserve(static_cast<size_t>(count));
    points_.reserve(static_cast<size_t>(count));
  }
  bool Add(TPoint p) {
    if (!seen_.insert(PackPoint(p)).second) return false;
    points_.push_back(p);
    return true;
  }
  int Count() const { return static_cast<int>(points_.size()); }
  TNube Take() { return std::move(points_); }

 private:
  std::unordered_set<uint64_t> seen_;
  TNube points_;
};

int64_t DrawBudget(int count) {
  return kDrawsPerPoint * count + kExtraDraws;
}

// Integers reachable by rounding centre + deviation * t, t in [-6, 6), clipped to 0..max.
int64_t ReachableInts(double centre, double deviation, int max) {
  const double spread = 6.0 * std::abs(deviation);
  const double lo = std::max(0.0, std::floor(centre - spread));
  const double hi = std::min(static_cast<double>(max), std::ceil(centre + spread));
  return hi < lo ? 0 : static_cast<int64_t>(hi - lo) + 1;
}

// The integer nearest to deviation * (S - 6) + centre, S the sum of 12 draws; halves to even.
double NormalCoordinate(TRandom& random, double deviation, double centre) {
  double sum = 0.0;
  for (int i = 0; i < 12; ++i) sum += random.Random();
  return std::nearbyint(deviation * (sum - 6.0) + centre);
}

}  // namespace

uint32_t TRandom::Draw() {
  state_ = state_ * kMultiplier + 1u;
  return state_;
}

int TRandom::Random(int m) {
  const uint32_t s = Draw();
  if (m <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(m) * s) >> 32);
}

double TRandom::Random() {
  return Draw() * kTwoToMinus32;
}

uint32_t SeedFromTimeOfDay(int hours, int minutes, int seconds, int milliseconds) {
  const int64_t s = ((int64_t{hours} * 60 + minutes) * 60 + seconds) * 1000 + milliseconds;
  return static_cast<uint32_t>(s);
}

uint32_t ClockSeed() {
  using namespace std::chrono;
  const auto sinceEpoch = system_clock::now().time_since_epoch();
  const int64_t ms = duration_cast<milliseconds>(sinceEpoch).count() % 86400000;
  const auto m = static_cast<int>(ms);
  return SeedFromTimeOfDay(m / 3600000, m / 60000 % 60, m / 1000 % 60, m % 1000);
}

TNube GenerateUniform(TRandom& random, int count, int canvasWidth, int canvasHeight) {
  if (count < 1) return {};
  const int64_t w = int64_t{canvasWidth} - 10, h = int64_t{canvasHeight} - 10;
  if (w < 1 || h < 1 || w * h < count) CanvasTooSmall();
  TDistinctPoints points(count);
  for (int64_t budget = DrawBudget(count); points.Count() < count; --budget) {
    if (budget <= 0) CanvasTooSmall();
    const int x = random.Random(static_cast<int>(w));
    const int y = random.Random(static_cast<int>(h));
    points.Add({x, y});
  }
  return points.Take();
}

TNube GenerateNormal(TRandom& random, int count, double deviation, int canvasWidth,
                     int canvasHeight) {
  if (count < 1) return {};
  if (canvasWidth < 1 || canvasHeight < 1 || !std::isfinite(deviation)) CanvasTooSmall();
  const double cx = canvasWidth / 2.0, cy = canvasHeight / 2.0;
  const int xmax = canvasWidth - 1, ymax = canvasHeight - 1;
  const int64_t room = ReachableInts(cx, deviation, xmax) * ReachableInts(cy, deviation, ymax);
  if (room < count) NormalTooNarrow(deviation, cx, cy, xmax, ymax);
  TDistinctPoints points(count);
  for (int64_t budget = DrawBudget(count); points.Count() < count; --budget) {
    if (budget <= 0) NormalTooNarrow(deviation, cx, cy, xmax, ymax);
    const double x = NormalCoordinate(random, deviation, cx);
    const double y = NormalCoordinate(random, deviation, cy);
    if (x < 0.0 || x > xmax || y < 0.0 || y > ymax) continue;
    points.Add({static_cast<int32_t>(x), static_cast<int32_t>(y)});
  }
  return points.Take();
}

}  // namespace qv

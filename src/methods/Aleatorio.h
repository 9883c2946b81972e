// The application's random source and the two random point distributions.
#pragma once

#include <cstdint>

#include "geometry/Tipos.h"

namespace qv {

// A 32-bit linear congruential generator: each draw sets state := state * 134775813 + 1
// (modulo 2^32). The whole sequence is a function of the seed.
class TRandom {
 public:
  explicit TRandom(uint32_t seed = 0) : state_(seed) {}

  void SetSeed(uint32_t seed) { state_ = seed; }
  uint32_t State() const { return state_; }

  // A uniform integer in 0 .. m - 1: the high 32 bits of m * state after one draw. For m <= 0
  // the draw is made and 0 returned.
  int Random(int m);
  // A uniform double in [0, 1): state * 2^-32 after one draw.
  double Random();

 private:
  uint32_t Draw();
  uint32_t state_;
};

// The seed of a time of day: ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds.
uint32_t SeedFromTimeOfDay(int hours, int minutes, int seconds, int milliseconds);
// The seed of the current time of day of the system clock (UTC).
uint32_t ClockSeed();

// count points uniform over the canvas: x = Random(canvasWidth - 10), then y = Random(canvasHeight
// - 10), so 0 <= x <= canvasWidth - 11 and 0 <= y <= canvasHeight - 11. A draw that repeats an
// earlier point is drawn again. A count below 1 gives no points. Throws UserError "The canvas is
// too small for this distribution." when the range holds fewer than count distinct points (or
// none) or when the draws fail to find count distinct points within a generous bound.
TNube GenerateUniform(TRandom& random, int count, int canvasWidth, int canvasHeight);

// count points around the canvas centre (canvasWidth / 2, canvasHeight / 2): each coordinate is
// the integer nearest to deviation * (S - 6) + centre, S the sum of 12 uniform draws (x first,
// then y; halves to even). A point outside 0..canvasWidth-1 x 0..canvasHeight-1, or repeating an
// earlier point, is discarded and drawn again. Refused like GenerateUniform when the reachable
// part of the canvas holds fewer than count points or the draws keep missing; when the square of
// six deviations around the centre lies inside the canvas the refusal says "The deviation is too
// small for this many points." instead, the deviation being the limit.
TNube GenerateNormal(TRandom& random, int count, double deviation, int canvasWidth,
                     int canvasHeight);

}  // namespace qv

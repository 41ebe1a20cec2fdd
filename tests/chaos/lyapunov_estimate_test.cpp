// The estimate on small hand-made series. With a delay of 20 records, points 1..20 have
// independent coordinates (s[k], s[k+20], s[k+40]); the third is left 0, so each point is
// placed in a plane. Evolution 2 records, candidates 1..10, exclusion 2, one second per
// step. Points not placed lie far from everything.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chaos/lyapunov_estimate.h"

namespace kv {
namespace {

LyapunovParams small_params() {
  LyapunovParams p;
  p.delay = 20;
  p.evolve = 2;
  p.last = 10;
  p.exclusion = 2;
  p.evolve_seconds = 1;
  return p;
}

struct Plane {
  std::vector<float> s;
  explicit Plane(int filled = 60) : s(filled + 1, 0.0f) {
    for (int k = 1; k <= 12; ++k) set(k, 100.0f + 10 * k, 100.0f);
  }
  void set(int k, float x, float y) {
    s[k] = x;
    s[k + 20] = y;
  }
};

struct Recorder : LyapunovHooks {
  std::vector<LyapunovStep> steps;
  std::vector<long> polls_at_step;  // halt polls made before each step was counted
  long polls = 0;
  long halt_at = -1;
  bool halt() override { return ++polls == halt_at; }
  void step_done(const LyapunovStep& s) override {
    steps.push_back(s);
    polls_at_step.push_back(polls);
  }
};

TEST(LyapunovEstimate, FirstNeighbourIsTheNearestOutsideTheExclusion) {
  Plane pl;
  pl.set(1, 0, 0);
  pl.set(2, 0, 0.0625f);  // nearest, but inside the exclusion
  pl.set(3, 0, 0);        // closer than the smallest accepted distance
  pl.set(4, 0.25f, 0);
  pl.set(5, 0.5f, 0);
  pl.set(6, 0, 0.25f);  // as near as point 4: the later one wins
  Recorder rec;
  estimate_lyapunov(pl.s, small_params(), rec);
  ASSERT_FALSE(rec.steps.empty());
  EXPECT_EQ(rec.steps[0].reference, 1);
  EXPECT_EQ(rec.steps[0].neighbour, 6);
  EXPECT_EQ(rec.steps[0].d0, 0.25);
}

// Reference 1 with point 9 as its only near neighbour; after the first evolution the
// reference is at point 3 and the neighbour at point 11.
Plane replacement_plane() {
  Plane pl;
  pl.set(1, 0, 0);
  pl.set(9, 0.0625f, 0);
  pl.set(3, 2, 2);
  pl.set(11, 3, 2);      // separation along x
  pl.set(4, 2.125f, 2);  // perfectly aligned, but inside the exclusion of point 3
  pl.set(5, 2.125f, 2.015625f);
  pl.set(6, 2, 2.25f);         // at right angles
  pl.set(7, 2.125f, 2.125f);   // at 45 degrees
  pl.set(8, 2.25f, 2.03125f);  // the same direction as point 5, twice as far
  return pl;
}

TEST(LyapunovEstimate, ReplacementIsClosestInDirectionLaterWinningTies) {
  Plane pl = replacement_plane();
  Recorder rec;
  estimate_lyapunov(pl.s, small_params(), rec);
  ASSERT_GE(rec.steps.size(), 2u);
  EXPECT_EQ(rec.steps[0].neighbour, 9);
  EXPECT_EQ(rec.steps[0].d1, 1.0);
  EXPECT_EQ(rec.steps[1].reference, 3);
  EXPECT_EQ(rec.steps[1].neighbour, 8);
  EXPECT_DOUBLE_EQ(rec.steps[1].d0, std::sqrt(0.25 * 0.25 + 0.03125 * 0.03125));
  EXPECT_EQ(rec.polls_at_step[1], 10) << "accepted in the first search";
  EXPECT_DOUBLE_EQ(rec.steps[0].estimate, std::log(1 / 0.0625));

  // The cosine is taken without its sign: a point on the far side of the reference, on
  // the line of the separation, is perfectly aligned.
  pl.set(10, 1.75f, 2);
  Recorder rec2;
  estimate_lyapunov(pl.s, small_params(), rec2);
  EXPECT_EQ(rec2.steps[1].neighbour, 10);
}

TEST(LyapunovEstimate, GivesUpAfterSixteenSearchesAndFollowsTheOldNeighbour) {
  Plane pl;
  pl.set(1, 0, 0);
  pl.set(9, 0.0625f, 0);
  pl.set(3, 50, 50);  // the evolved reference has no candidate within 2.0
  Recorder rec;
  const LyapunovEstimate est = estimate_lyapunov(pl.s, small_params(), rec);
  ASSERT_GE(rec.steps.size(), 2u);
  EXPECT_EQ(rec.polls_at_step[1], 16 * 10) << "4 scales for each of 4 angle limits";
  EXPECT_EQ(rec.steps[1].neighbour, 11);
  EXPECT_EQ(rec.steps[1].d0, rec.steps[0].d1);
  EXPECT_FALSE(est.ran_out);
}

TEST(LyapunovEstimate, NeighbourPushedPastTheSeriesEndsWithTheStepsDone) {
  Plane pl(52);  // just long enough for the candidates and the evolved reference
  pl.set(1, 0, 0);
  pl.set(9, 0.0625f, 0);
  pl.set(3, 50, 50);
  Recorder rec;
  const LyapunovEstimate est = estimate_lyapunov(pl.s, small_params(), rec);
  EXPECT_TRUE(est.ran_out);
  EXPECT_EQ(est.steps, 1);
  EXPECT_DOUBLE_EQ(est.exponent, std::log(rec.steps[0].d1 / 0.0625));
  EXPECT_THROW(estimate_lyapunov(std::span(pl.s).first(52), small_params(), rec),
               std::invalid_argument);
}

TEST(LyapunovEstimate, HaltStopsAtOnceAndDropsTheEstimate) {
  Plane pl = replacement_plane();
  Recorder rec;
  rec.halt_at = 5;
  const LyapunovEstimate est = estimate_lyapunov(pl.s, small_params(), rec);
  EXPECT_TRUE(est.halted);
  EXPECT_EQ(est.exponent, 0);
  EXPECT_EQ(est.steps, 1);
  EXPECT_EQ(rec.polls, 5);
}

TEST(LyapunovEstimate, ZeroSeparationAfterEvolutionCountsAndKeepsTheCosine) {
  // Step 1 accepts point 6, whose cosine is 1. Step 2 evolves reference and neighbour onto
  // the same point (d1 = 0): it adds nothing, and every candidate inherits cosine 1, so
  // the first search accepts at once (a cosine of 0 would take 13 searches).
  Plane pl;
  pl.set(1, 0, 0);
  pl.set(9, 0.0625f, 0);
  pl.set(3, 5, 5);
  pl.set(11, 6, 5);
  pl.set(6, 5.25f, 5);
  pl.set(5, 20, 20);
  pl.set(8, 20, 20);
  pl.set(7, 20.25f, 20);
  Recorder rec;
  estimate_lyapunov(pl.s, small_params(), rec);
  ASSERT_GE(rec.steps.size(), 3u);
  EXPECT_EQ(rec.steps[1].neighbour, 6);
  EXPECT_EQ(rec.steps[1].d1, 0.0);
  EXPECT_DOUBLE_EQ(rec.steps[1].estimate, std::log(1 / 0.0625) / 2);
  EXPECT_EQ(rec.polls_at_step[2] - rec.polls_at_step[1], 10);
  EXPECT_EQ(rec.steps[2].neighbour, 7);
  EXPECT_EQ(rec.steps[2].d0, 0.25);
}

TEST(LyapunovEstimate, ZeroStartingSeparationCountsAndAddsNothing) {
  // d1 = 0 with no candidate near: the old neighbour is followed with d0 = d1 = 0.
  Plane pl;
  pl.set(1, 0, 0);
  pl.set(9, 0.0625f, 0);
  pl.set(3, 50, 50);
  pl.set(11, 50, 50);
  Recorder rec;
  const LyapunovEstimate est = estimate_lyapunov(pl.s, small_params(), rec);
  ASSERT_GE(rec.steps.size(), 2u);
  EXPECT_EQ(rec.steps[1].d0, 0.0);
  EXPECT_GT(rec.steps[1].d1, 0.0);
  EXPECT_EQ(rec.steps[1].estimate, 0.0);
  EXPECT_TRUE(std::isfinite(est.exponent));
}

TEST(LyapunovEstimate, DesignConstantsTake24Steps) {
  // A logistic-map series over the design's 11800 values.
  std::vector<float> s(11801, 0.0f);
  double x = 0.3;
  for (int i = 1; i <= 11800; ++i) {
    x = 3.9 * x * (1 - x);
    s[i] = static_cast<float>(x);
  }
  // Point 5 is made the nearest to point 1, but candidates 1..10 are never considered.
  s[5] = s[1] + 0.001f;
  s[705] = s[701];
  s[1405] = s[1401];
  Recorder rec;
  const LyapunovEstimate est = estimate_lyapunov(s, LyapunovParams{}, rec);
  EXPECT_EQ(est.steps, 24);
  EXPECT_FALSE(est.ran_out);
  EXPECT_GE(rec.steps[0].neighbour, 11);
  EXPECT_EQ(rec.steps.back().reference, 9201);
  EXPECT_TRUE(std::isfinite(est.exponent));
  EXPECT_EQ(lyapunov_series_needed(LyapunovParams{}), 11301);
}

}  // namespace
}  // namespace kv

// The raised-cosine ramp behind every gain change and cross-fade.
#include <gtest/gtest.h>

#include <vector>

#include "audio/mixer/ramp.h"

namespace raziz::test {

using namespace raziz::mixer;
namespace {

TEST(Ramp, ArrivesAfterItsLengthAlongTheCurveAndRestsThere) {
  const RaisedCosine shape(8);
  Ramp ramp(shape);
  ramp.advance(8);
  ASSERT_TRUE(ramp.resting_at_zero());
  ramp.retarget(0.5);
  EXPECT_FALSE(ramp.arrived());
  for (int i = 0; i <= 8; ++i) EXPECT_DOUBLE_EQ(ramp.at(i), 0.5 * shape.data()[i]) << "sample " << i;
  EXPECT_DOUBLE_EQ(ramp.at(20), 0.5);
  ramp.advance(5);
  ramp.advance(5);
  EXPECT_TRUE(ramp.arrived());
  EXPECT_DOUBLE_EQ(ramp.at(0), 0.5);
}

// A new target part-way sets off from the value reached, so the gain never jumps.
TEST(Ramp, ANewTargetPartWayStartsFromWhereTheValueIs) {
  const RaisedCosine shape(16);
  Ramp ramp(shape);
  ramp.advance(16);
  ramp.retarget(1.0);
  ramp.advance(6);
  const double reached = ramp.at(0);
  ramp.retarget(0.25);
  EXPECT_DOUBLE_EQ(ramp.start(), reached);
  EXPECT_DOUBLE_EQ(ramp.at(0), reached);
  EXPECT_DOUBLE_EQ(ramp.target(), 0.25);
  ramp.jump(0.75);
  EXPECT_TRUE(ramp.arrived());
  EXPECT_DOUBLE_EQ(ramp.at(0), 0.75);
}

// The block loops apply the same value at(i) gives, inside the ramp and past its end.
TEST(Ramp, BlockLoopsFollowTheValueSampleBySample) {
  const RaisedCosine shape(10);
  Ramp ramp(shape);
  ramp.advance(10);
  ramp.retarget(0.8);
  ramp.advance(4);
  const int frames = 12;  // runs 6 samples past the ramp's end
  std::vector<double> in(frames), mix(frames, 0.1), a(frames, 1.0), b(frames, -1.0);
  for (int i = 0; i < frames; ++i) in[i] = 0.5 + i;
  ramp.scale_add(in.data(), mix.data(), frames);
  ramp.blend(a.data(), b.data(), frames);
  for (int i = 0; i < frames; ++i) {
    EXPECT_DOUBLE_EQ(mix[i], 0.1 + ramp.at(i) * in[i]) << "sample " << i;
    EXPECT_DOUBLE_EQ(a[i], 1.0 - 2.0 * ramp.at(i)) << "sample " << i;
  }
}

}  // namespace
}  // namespace raziz::test

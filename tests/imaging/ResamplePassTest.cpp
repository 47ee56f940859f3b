#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "imaging/unitResamplePass.h"

namespace {

using TPass = void (*)(const TPixelRows&, const TContributorLists&, const TPixelRows&);

struct TKernel {
  const char* Name;
  TPass Pass;
  bool Vector;
};

bool Usable(const TKernel& Kernel) {
  return !Kernel.Vector || ProcessorHasAvx2Fma();
}

std::vector<std::uint8_t> Passed(const TKernel& Kernel, std::vector<std::uint8_t> Bytes, int Rows,
                                 int Columns, const TContributorLists& Lists) {
  const TPixelRows In{Bytes.data(), Rows, Columns, 3 * std::size_t(Columns)};
  std::vector<std::uint8_t> Result(std::size_t(Lists.Count()) * std::size_t(Rows) * 3);
  Kernel.Pass(In, Lists, {Result.data(), Lists.Count(), Rows, 3 * std::size_t(Rows)});
  return Result;
}

// 21.5 plus the exact 5 * W is 22.5000019, just past the tie; rounding 5 * W first would
// land on the tie and round down.
float PastTheTie(float X) {
  return X == 1 ? 0.5f : X == 0 ? 0x1.9999b4p-3f : 0.0f;
}

float Wild(float X) {
  if (std::fabs(X) < 0.2f) return std::numeric_limits<float>::quiet_NaN();
  if (std::fabs(X) < 0.6f) return 1e30f;
  return -X * 3;
}

class ResamplePassKernels : public testing::TestWithParam<TKernel> {};

TEST_P(ResamplePassKernels, RoundEachAdditionOnce) {
  if (!Usable(GetParam())) GTEST_SKIP() << "no AVX2 and FMA here";
  std::vector<std::uint8_t> Bytes;
  for (int Row = 0; Row < 2; ++Row)
    for (const std::uint8_t Value : {43, 5, 0}) Bytes.insert(Bytes.end(), 3, Value);
  const TContributorLists Lists(1.0f, 3, 3, PastTheTie, 1.0f);
  const auto Result = Passed(GetParam(), Bytes, 2, 3, Lists);
  EXPECT_EQ(std::vector<std::uint8_t>(Result.begin() + 6, Result.begin() + 12),
            std::vector<std::uint8_t>(6, 23));
}

// Row counts on both sides of the eight rows a vector pass takes at once, and weights that
// overflow and are not numbers.
TEST_P(ResamplePassKernels, AgreeWithThePortablePass) {
  if (!Usable(GetParam())) GTEST_SKIP() << "no AVX2 and FMA here";
  std::mt19937 Random(11);
  const TFilterFunction Filters[] = {TriangleFilter, Lanczos3Filter, MitchellFilter, Wild};
  for (int Case = 0; Case < 200; ++Case) {
    const int Rows = 1 + int(Random() % 30);
    const int Columns = 1 + int(Random() % 30);
    const int Count = 1 + int(Random() % 30);
    std::vector<std::uint8_t> Bytes(std::size_t(Rows) * std::size_t(Columns) * 3);
    for (std::uint8_t& Byte : Bytes) Byte = std::uint8_t(Random());
    const float Scale = Columns == 1 ? float(Count) : float(Count - 1) / float(Columns - 1);
    if (Scale == 0) continue;
    const TContributorLists Lists(Scale, Columns, Count, Filters[Case % 4], 2.0f);
    ASSERT_EQ(Passed(GetParam(), Bytes, Rows, Columns, Lists),
              Passed({"", ResamplePassPortable, false}, Bytes, Rows, Columns, Lists))
        << Rows << " rows of " << Columns << " to " << Count;
  }
}

INSTANTIATE_TEST_SUITE_P(ResamplePass, ResamplePassKernels,
                         testing::Values(TKernel{"Portable", ResamplePassPortable, false},
                                         TKernel{"Avx2", ResamplePassAvx2, true}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace

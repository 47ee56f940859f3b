#include <gtest/gtest.h>

#include "imaging/resample.h"
#include "tests/support/CaseNames.h"

namespace {

struct TWeightCase {
  int Row;
  float X;
  float Expected;
};

class FilterWeights : public testing::TestWithParam<TWeightCase> {};

TEST_P(FilterWeights, AtKnownDistances) {
  const TWeightCase& Case = GetParam();
  EXPECT_FLOAT_EQ(FilterTable[Case.Row].Weight(Case.X), Case.Expected)
      << FilterTable[Case.Row].Name << " at " << Case.X;
}

INSTANTIATE_TEST_SUITE_P(
    FilterTable, FilterWeights,
    testing::Values(TWeightCase{0, 0.5f, 1}, TWeightCase{0, -0.5f, 0}, TWeightCase{0, 0, 1},
                    TWeightCase{1, 0.25f, 0.75f}, TWeightCase{1, -0.25f, 0.75f},
                    TWeightCase{2, 0.5f, 0.5f}, TWeightCase{2, 0.25f, 0.84375f},
                    TWeightCase{3, 0, 0.75f}, TWeightCase{3, 0.5f, 0.5f}, TWeightCase{3, 1, 0.125f},
                    TWeightCase{4, 0, 2.0f / 3}, TWeightCase{4, 1, 1.0f / 6}, TWeightCase{5, 0, 1},
                    TWeightCase{5, 0.5f, 0.6079271f}, TWeightCase{5, 1.5f, -0.1350949f},
                    TWeightCase{6, 0, 8.0f / 9}, TWeightCase{6, 1, 1.0f / 18},
                    TWeightCase{6, 1.5f, -5.0f / 144}),
    [](const auto& Info) {
      return CaseName(FilterTable[Info.param.Row].Name) + "_At_" + NumberName(Info.param.X);
    });

class FilterShape : public testing::TestWithParam<int> {};

TEST_P(FilterShape, IsZeroFromItsSupportOnAndSymmetricInside) {
  const TFilterRow& Filter = FilterTable[GetParam()];
  // Box alone keeps its weight at +0.5.
  if (Filter.Name != "Box") {
    EXPECT_EQ(Filter.Weight(Filter.Support), 0);
  }
  EXPECT_EQ(Filter.Weight(-Filter.Support), 0);
  EXPECT_EQ(Filter.Weight(Filter.Support + 0.01f), 0);
  EXPECT_EQ(Filter.Weight(-Filter.Support - 7), 0);
  for (float X = 0.05f; X < Filter.Support; X += 0.1f)
    EXPECT_EQ(Filter.Weight(X), Filter.Weight(-X)) << X;
}

INSTANTIATE_TEST_SUITE_P(FilterTable, FilterShape, testing::Range(0, int(FilterTable.size())),
                         FilterRowName);

}  // namespace

#include "imaging/unitResamplePass.h"

void ResamplePassPortable(const TPixelRows& In, const TContributorLists& Lists,
                          const TPixelRows& Out) {
  for (int R = 0; R < In.Rows; ++R) {
    const std::uint8_t* Row = In.Row(R);
    for (int I = 0; I < Lists.Count(); ++I) {
      float Sums[3] = {0, 0, 0};
      for (const TContributor& C : Lists.List(I)) {
        const std::uint8_t* Pixel = Row + 3 * std::size_t(C.Index);
        for (int Channel = 0; Channel < 3; ++Channel)
          Sums[Channel] = std::fma(C.Weight, float(Pixel[Channel]), Sums[Channel]);
      }
      std::uint8_t* Target = Out.Row(I) + 3 * std::size_t(R);
      for (int Channel = 0; Channel < 3; ++Channel) Target[Channel] = ClampChannel(Sums[Channel]);
    }
  }
}

void ResamplePass(const TPixelRows& In, const TContributorLists& Lists, const TPixelRows& Out) {
  static const bool HasAvx2Fma = ProcessorHasAvx2Fma();
  if (HasAvx2Fma)
    ResamplePassAvx2(In, Lists, Out);
  else
    ResamplePassPortable(In, Lists, Out);
}

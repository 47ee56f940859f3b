#pragma once
// Names for the cases of parameterised tests, which gtest takes as letters, digits and
// underscores only.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>

#include "imaging/resample.h"
#include "platform/unitBitmap.h"

// Any other character becomes an underscore.
inline std::string CaseName(std::string_view Text) {
  std::string Name(Text);
  std::replace_if(
      Name.begin(), Name.end(), [](unsigned char C) { return !std::isalnum(C); }, '_');
  return Name;
}

inline std::string CaseName(TPixelFormat Format) {
  return "Bits" + std::to_string(Format == TPixelFormat::pf15bit ? 15 : 8 * BytesPerPixel(Format));
}

// -0.25 becomes Minus0_25.
inline std::string NumberName(double Number) {
  std::ostringstream Text;
  Text << (Number < 0 ? "Minus" : "") << (Number < 0 ? -Number : Number);
  return CaseName(Text.str());
}

inline std::string HexName(std::uint32_t Value) {
  std::ostringstream Text;
  Text << "x" << std::uppercase << std::hex << std::setw(6) << std::setfill('0') << Value;
  return Text.str();
}

inline std::string LayoutName(bool Is555) {
  return Is555 ? "Layout555" : "Layout565";
}

inline std::string SizeName(int Width, int Height) {
  return std::to_string(Width) + "x" + std::to_string(Height);
}

// For cases that are rows of the filter table.
inline std::string FilterRowName(const testing::TestParamInfo<int>& Info) {
  return CaseName(FilterTable[std::size_t(Info.param)].Name);
}

#pragma once
// The byte order of every file format the program reads and writes.

#include <cstdint>

inline std::uint16_t GetLe16(const std::uint8_t* P) {
  return std::uint16_t(P[0] | (P[1] << 8));
}
inline std::uint32_t GetLe32(const std::uint8_t* P) {
  return std::uint32_t(GetLe16(P)) | (std::uint32_t(GetLe16(P + 2)) << 16);
}
inline void PutLe16(std::uint8_t* P, std::uint16_t Value) {
  P[0] = std::uint8_t(Value);
  P[1] = std::uint8_t(Value >> 8);
}
inline void PutLe32(std::uint8_t* P, std::uint32_t Value) {
  PutLe16(P, std::uint16_t(Value));
  PutLe16(P + 2, std::uint16_t(Value >> 16));
}

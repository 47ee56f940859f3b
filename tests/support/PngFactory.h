#pragma once
// Encoded pictures for tests of the readers: images in any of Qt's formats, and a PNG whose
// header claims a size its data does not have.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>

inline QByteArray Encoded(const QImage& Image, const char* Format) {
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(Image.save(&Buffer, Format));
  return Bytes;
}

inline std::uint32_t Crc32(const char* Bytes, int Count) {
  std::uint32_t Crc = 0xFFFFFFFF;
  for (int I = 0; I < Count; ++I) {
    Crc ^= std::uint8_t(Bytes[I]);
    for (int Bit = 0; Bit < 8; ++Bit) Crc = (Crc >> 1) ^ (0xEDB88320 & (0 - (Crc & 1)));
  }
  return ~Crc;
}

inline void PutBigEndian(QByteArray& Bytes, int At, std::uint32_t Value) {
  for (int I = 0; I < 4; ++I) Bytes[At + I] = char(Value >> (24 - 8 * I));
}

// A small PNG whose header claims Width x Height.
inline QByteArray PngClaiming(std::uint32_t Width, std::uint32_t Height) {
  QByteArray Png = Encoded(QImage(1, 1, QImage::Format_RGB32), "PNG");
  PutBigEndian(Png, 16, Width);
  PutBigEndian(Png, 20, Height);
  PutBigEndian(Png, 29, Crc32(Png.constData() + 12, 17));
  return Png;
}

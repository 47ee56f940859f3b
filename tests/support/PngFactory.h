#pragma once
// Encoded pictures for tests of the readers: images in any of Qt's formats, and a PNG whose
// header claims a size its data does not have.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>

#include "tests/support/RawPng.h"

inline QByteArray Encoded(const QImage& Image, const char* Format) {
  QByteArray Bytes;
  QBuffer Buffer(&Bytes);
  Buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(Image.save(&Buffer, Format));
  return Bytes;
}

inline QByteArray QBytes(const std::vector<std::uint8_t>& Bytes) {
  return QByteArray(reinterpret_cast<const char*>(Bytes.data()), qsizetype(Bytes.size()));
}

inline void PutBigEndian(QByteArray& Bytes, int At, std::uint32_t Value) {
  for (int I = 0; I < 4; ++I) Bytes[At + I] = char(Value >> (24 - 8 * I));
}

// A small PNG whose header claims Width x Height.
inline QByteArray PngClaiming(std::uint32_t Width, std::uint32_t Height) {
  QByteArray Png = Encoded(QImage(1, 1, QImage::Format_RGB32), "PNG");
  PutBigEndian(Png, 16, Width);
  PutBigEndian(Png, 20, Height);
  PutBigEndian(Png, 29, Crc32(reinterpret_cast<const std::uint8_t*>(Png.constData()) + 12, 17));
  return Png;
}

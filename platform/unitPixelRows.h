#pragma once
// Rows of pixels converted a whole row at a time, for the copies and routes that move millions
// of pixels. Each gives, pixel for pixel, what the channel scalers give; on processors with
// SSE4.1 or AVX2 vectorised steps run.

#include <cstddef>
#include <cstdint>
#include <functional>

// Words are 5-6-5, little-endian, two bytes each.

// 5-6-5 words to blue, green, red bytes.
void Widen565Row(const std::uint8_t* Words, std::uint8_t* Bgr, int Count);
// Blue, green, red bytes to 5-6-5 words. A visible pixel never narrows to black.
void NarrowBgrRow(const std::uint8_t* Bgr, std::uint8_t* Words, int Count);
// Blue, green, red, alpha bytes (a 32-bit ARGB pixel in memory) to 5-6-5 words; a pixel less
// than half opaque is black.
void NarrowBgraRow(const std::uint8_t* Bgra, std::uint8_t* Words, int Count);
// 5-6-5 words to 32-bit ARGB pixels in memory order (blue, green, red, alpha): opaque in the
// widened colour, but black, which has alpha 0.
void ArgbRowOf565(const std::uint8_t* Words, std::uint8_t* Argb, int Count);

// Work(First, Last) for bands of the rows 0 .. Rows - 1 that together cover each row once, on
// the processor's cores when the picture is large enough to repay a thread. Each pixel of the
// conversions above depends on nothing but itself, so the order does not change the result.
// Work must not throw.
void ForEachRowBand(int Rows, std::size_t PixelsPerRow, const std::function<void(int, int)>& Work);

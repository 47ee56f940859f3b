#pragma once
// A plain reading of the resampler, for the fast one to be checked against bit for bit.

#include "imaging/resample.h"
#include "platform/unitBitmap.h"

// Source must have 24 bits; the scale factors must not be zero.
TBitmap ReferenceResample(const TBitmap& Source, int DestinationWidth, int DestinationHeight,
                          TFilterFunction Filter, float Support);

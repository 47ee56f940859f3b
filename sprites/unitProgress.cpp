#include "sprites/unitProgress.h"

#include <cmath>

int LoopPercent(int Index, int Count) {
  // nearbyint rounds halves to even in the default rounding mode.
  return int(std::nearbyint(double(Index) * 100.0 / double(Count - 1)));
}

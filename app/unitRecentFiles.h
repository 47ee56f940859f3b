#pragma once
// The sprite files used last, newest first, kept with the preferences as the string values
// "Recent File 1" to "Recent File 10" beside them.

#include <optional>
#include <string>
#include <vector>

#include "platform/unitRegistryStore.h"

class TRecentFiles {
 public:
  static constexpr int MaxCount = 10;

  // The list as stored; empty without a key. Gaps and repeats in the values are skipped.
  void Read(const std::optional<TRegistryKey>& Key);
  // Path goes first, once; the oldest past MaxCount drop off. False when it was not stored.
  bool Add(const std::string& Path, TRegistryStore& Store);
  bool Remove(const std::string& Path, TRegistryStore& Store);
  const std::vector<std::string>& Paths() const { return FPaths; }

 private:
  bool Write(TRegistryStore& Store) const;

  std::vector<std::string> FPaths;
};

#include "app/unitRecentFiles.h"

#include <algorithm>

namespace {

std::string ValueName(int Number) {
  return "Recent File " + std::to_string(Number);
}

}  // namespace

void TRecentFiles::Read(const std::optional<TRegistryKey>& Key) {
  FPaths.clear();
  if (!Key) return;
  for (int Number = 1; Number <= MaxCount; ++Number) {
    std::optional<std::string> Path = Key->ReadString(ValueName(Number));
    if (Path && !Path->empty() && std::ranges::find(FPaths, *Path) == FPaths.end())
      FPaths.push_back(std::move(*Path));
  }
}

bool TRecentFiles::Add(const std::string& Path, TRegistryStore& Store) {
  std::erase(FPaths, Path);
  FPaths.insert(FPaths.begin(), Path);
  if (FPaths.size() > std::size_t(MaxCount)) FPaths.resize(MaxCount);
  return Write(Store);
}

bool TRecentFiles::Remove(const std::string& Path, TRegistryStore& Store) {
  std::erase(FPaths, Path);
  return Write(Store);
}

// All ten values at once, the unused ones removed, so no older entry outlives a shorter list.
bool TRecentFiles::Write(TRegistryStore& Store) const {
  std::optional<TRegistryKey> Key = Store.CreateKey(PreferencesKeyPath);
  if (!Key) return false;
  TRegistryKey::TStringValues Values;
  for (int Number = 1; Number <= MaxCount; ++Number)
    Values.emplace_back(ValueName(Number), std::size_t(Number) <= FPaths.size()
                                               ? std::optional(FPaths[Number - 1])
                                               : std::nullopt);
  return Key->WriteStrings(Values);
}

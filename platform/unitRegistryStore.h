#pragma once
// The registry's place on a system without one: a text file in the registry export format
// ("REGEDIT4", then "[HKEY_LOCAL_MACHINE\key]" sections of "name"=dword:0000001e and
// "name"="text" lines). Keys are opened or created and their 32-bit and string values read and
// written as through the registry; value
// and key names match without regard to ASCII case. A rewrite keeps every line it does not
// change, other keys, unknown values and lines it cannot parse among them.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TRegistryLines = std::vector<std::string>;

// An open key. Reads answer from the file as it was when the key was opened; each write reads
// the file anew, changes one value and replaces the file whole, so a failed write leaves it as
// it was.
class TRegistryKey {
 public:
  // Absent when the value is missing or is not a dword.
  std::optional<std::uint32_t> ReadDword(std::string_view Name) const;
  // False when the file cannot be read back or replaced; the value is then not stored.
  [[nodiscard]] bool WriteDword(std::string_view Name, std::uint32_t Value);
  // Why the last write failed: the file and the reason.
  const std::string& Failure() const { return FFailure; }
  // Absent when the value is missing or is not a string.
  std::optional<std::string> ReadString(std::string_view Name) const;
  // Sets each named value to its text, or removes it where the text is absent, in one rewrite.
  // False as for WriteDword, and for a name or text with a line break; nothing is then stored.
  using TStringValues = std::vector<std::pair<std::string, std::optional<std::string>>>;
  [[nodiscard]] bool WriteStrings(const TStringValues& Values);

 private:
  friend class TRegistryStore;
  TRegistryKey(std::string FilePath, std::string KeyName, TRegistryLines Lines);
  // Changes the file as it now is and keeps what it then holds.
  bool RewriteFile(const std::function<void(TRegistryLines&)>& Change);

  std::string FFilePath;
  std::string FKeyName;
  TRegistryLines FLines;
  std::string FFailure;
};

class TRegistryStore {
 public:
  explicit TRegistryStore(std::string FilePath);

  // $PELBROOK_PREFERENCES, else preferences.reg in the pelbrook folder of the XDG config home
  // ($XDG_CONFIG_HOME, else $HOME/.config); empty when none of them is set.
  static std::string DefaultFilePath();
  using TVariableLookup = std::function<const char*(const char*)>;
  static std::string DefaultFilePath(const TVariableLookup& Variable);

  // KeyPath is under HKEY_LOCAL_MACHINE, e.g. "Software\Quillmoor Technology\...".
  // Absent when the file or the key does not exist, or the file is not one this store can read.
  std::optional<TRegistryKey> OpenKey(std::string_view KeyPath) const;
  // Opens the key for writing, creating it, the file and its folders as needed. Absent when the
  // file cannot be replaced, or exists but is not one this store can rewrite without loss.
  std::optional<TRegistryKey> CreateKey(std::string_view KeyPath);
  // Why the last CreateKey failed: the file and the reason.
  const std::string& Failure() const { return FFailure; }

 private:
  std::string FFilePath;
  std::string FFailure;
};

// The stored preferences and the way they are taken when read.
inline constexpr std::string_view PreferencesKeyPath =
    "Software\\Quillmoor Technology\\Tamblings 2\\Pelbrook";

namespace PreferenceName {
inline constexpr std::string_view ThumbnailSize = "Thumbnail Size";
// One value: names match without regard to case.
inline constexpr std::string_view FitIntoThumbnailRead = "Fit Into Thumbnail";
inline constexpr std::string_view FitIntoThumbnailWritten = "Fit into Thumbnail";
inline constexpr std::string_view FasterResampleUpdate = "Faster Resample Update";
// Holds the "&Better Resample" tick.
inline constexpr std::string_view FasterResampleCode = "Faster Resample Code";
inline constexpr std::string_view CopyFormat = "Copy Format";
inline constexpr std::string_view DisableThumbnailGeneration = "Disable Thumbnail Generation";
// The filter each file dialog last used, from 1.
inline constexpr std::string_view OpenFilter = "Open Filter";
inline constexpr std::string_view SaveFilter = "Save Filter";
inline constexpr std::string_view ImportFilter = "Import Filter";
inline constexpr std::string_view ExportFilter = "Export Filter";
}  // namespace PreferenceName

// What applies when a value is missing or of another type, or the key is absent.
namespace PreferenceDefault {
inline constexpr int ThumbnailSize = 25;
inline constexpr bool FitIntoThumbnail = true;
inline constexpr bool FasterUpdate = false;
inline constexpr bool BetterResample = true;
inline constexpr int CopyFormat = 6;
inline constexpr bool ThumbnailsOff = false;
}  // namespace PreferenceDefault

// 25, 50, 75 or 100 as stored; anything else the default.
int StoredThumbnailSize(std::optional<std::uint32_t> Stored);
// The low 8 bits when they are 3 to 6; anything else the default.
int StoredCopyFormat(std::optional<std::uint32_t> Stored);
// Non-zero is true; absent gives Default.
bool StoredFlag(std::optional<std::uint32_t> Stored, bool Default);

#include "sprites/unitFileTypeChoice.h"

#include <algorithm>
#include <filesystem>

#include "platform/unitFileIO.h"

std::vector<std::string> FilterExtensions(std::string_view Filter) {
  std::vector<std::string> Extensions;
  bool Pattern = false;
  for (std::size_t Start = 0; Start <= Filter.size(); Pattern = !Pattern) {
    const std::size_t End = std::min(Filter.find('|', Start), Filter.size());
    if (Pattern) {
      const std::string_view Entry = Filter.substr(Start, End - Start);
      const std::size_t Dot = Entry.rfind('.');
      Extensions.push_back(Lowercase(std::string(Dot == Entry.npos ? "" : Entry.substr(Dot + 1))));
    }
    Start = End + 1;
  }
  return Extensions;
}

std::string NameExtension(const std::string& Path) {
  const std::string Extension = std::filesystem::path(Path).extension().string();
  return Lowercase(Extension.empty() ? Extension : Extension.substr(1));
}

TFileTypeChoice ChooseFileType(const std::string& Name, std::span<const std::string> Extensions,
                               int FilterIndex) {
  const std::string Typed = NameExtension(Name);
  const auto Chosen = std::size_t(FilterIndex - 1);
  if (!Typed.empty()) {
    if (Chosen < Extensions.size() && Extensions[Chosen] == Typed) return {Name, FilterIndex};
    const auto First = std::find(Extensions.begin(), Extensions.end(), Typed);
    if (First != Extensions.end()) return {Name, int(First - Extensions.begin()) + 1};
  }
  if (Chosen >= Extensions.size()) return {Name, FilterIndex};
  // "hero." takes the extension after its own dot.
  return {Name + (NameEndsWith(Name, ".") ? "" : ".") + Extensions[Chosen], FilterIndex};
}

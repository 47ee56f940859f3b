#pragma once
// Which format a save writes: an extension the user typed is a choice, and the filter decides
// only for a name without one of its own. Save As, Export To and pelbrook-tool choose alike, so
// a file's name always says what it holds.

#include <span>
#include <string>
#include <string_view>
#include <vector>

// The extension of each entry of a filter string ("desc|*.s16|desc|*.spr" gives s16, spr), in
// lower case.
std::vector<std::string> FilterExtensions(std::string_view Filter);

// The extension of the last part of Path after its dot, in lower case; empty for none.
std::string NameExtension(const std::string& Path);

struct TFileTypeChoice {
  std::string Path;
  int FilterIndex;  // from 1: the format written
};
// A name ending, in any case, in the extension of one of the filters is written in that
// format: the chosen filter's when it writes that extension, else the first filter's that
// does. Any other name is written as the chosen filter says, with its extension added.
TFileTypeChoice ChooseFileType(const std::string& Name, std::span<const std::string> Extensions,
                               int FilterIndex);

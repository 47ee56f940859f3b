#pragma once
// What tells that a file is still the one a program last read or wrote: its device, inode, size
// and modification time. A save looks at it first, so that it does not replace the work that
// another program, or a second editor, put there meanwhile.

#include <cstdint>
#include <optional>
#include <string>

struct TFileStamp {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  std::uint64_t Size = 0;
  std::int64_t ModifiedSeconds = 0;
  std::int64_t ModifiedNanoseconds = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The stamp of the file that Path names, through symbolic links; none when nothing is there.
std::optional<TFileStamp> FileStampOf(const std::string& Path);

// The file a document was last read from or written to, as it was then.
struct TKnownFile {
  std::string Path;
  std::optional<TFileStamp> Stamp;

  // Whether a save to SavePath would replace this file after someone else changed it: SavePath
  // names it (by name, or as a link to the same inode) and what is there now has another stamp.
  // A file that has gone leaves nothing to lose.
  bool ChangedBeforeSaveTo(const std::string& SavePath) const;
};

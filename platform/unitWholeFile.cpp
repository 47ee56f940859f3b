#include "platform/unitWholeFile.h"

#include "platform/unitFileIO.h"

std::vector<std::uint8_t> ReadWholeFile(const std::string& Path) {
  TFileReader Reader;
  Reader.OpenOrThrow(Path);
  std::vector<std::uint8_t> Bytes(std::size_t(Reader.Size()));
  Reader.Read(Bytes.data(), Bytes.size());
  return Bytes;
}

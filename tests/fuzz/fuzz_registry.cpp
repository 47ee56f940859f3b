// Any bytes as the preference file: the store reads what it can and never fails otherwise.

#include "platform/unitRegistryStore.h"
#include "tests/fuzz/FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const TRegistryStore Store(WriteFuzzFile(Data, Size));
  if (const auto Key = Store.OpenKey(PreferencesKeyPath))
    for (std::string_view Name : {PreferenceName::ThumbnailSize,
                                  PreferenceName::FitIntoThumbnailRead, PreferenceName::CopyFormat})
      Key->ReadDword(Name);
  return 0;
}

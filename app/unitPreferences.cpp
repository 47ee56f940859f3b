// The six stored choices: read once at start, all written whenever one changes.

#include <QAction>

#include "app/unitPelbrookMainWindow.h"

namespace {

const char* SizeEntryName(int Size) {
  switch (Size) {
    case 50:
      return "N501";
    case 75:
      return "N751";
    case 100:
      return "N1001";
    default:
      return "N251";
  }
}

const char* CopyFormatEntryName(int Format) {
  switch (Format) {
    case 3:
      return "N8bitBMP1";
    case 4:
      return "N15bitBMP1";
    case 5:
      return "N16BitBMP1";
    default:
      return "N24bitBMP1";
  }
}

}  // namespace

void TPelbrookMainWindow::LoadPreferences() {
  const std::optional<TRegistryKey> Key = FServices.PreferenceStore().OpenKey(PreferencesKeyPath);
  const auto Read = [&Key](std::string_view Name) -> std::optional<std::uint32_t> {
    return Key ? Key->ReadDword(Name) : std::nullopt;
  };
  ThumbnailSize = StoredThumbnailSize(Read(PreferenceName::ThumbnailSize));
  MenuEntry(SizeEntryName(ThumbnailSize)).Action->setChecked(true);
  FitIntoThumbnail =
      StoredFlag(Read(PreferenceName::FitIntoThumbnailRead), PreferenceDefault::FitIntoThumbnail);
  MenuEntry("Scalestosquare1").Action->setChecked(!FitIntoThumbnail);
  FasterUpdate =
      StoredFlag(Read(PreferenceName::FasterResampleUpdate), PreferenceDefault::FasterUpdate);
  MenuEntry("FastResample1").Action->setChecked(FasterUpdate);
  const bool Better =
      StoredFlag(Read(PreferenceName::FasterResampleCode), PreferenceDefault::BetterResample);
  MenuEntry("BetterResample1").Action->setChecked(Better);
  UseBetterResample = Better ? 1 : 0;
  CopyFormat = static_cast<std::uint8_t>(StoredCopyFormat(Read(PreferenceName::CopyFormat)));
  MenuEntry(CopyFormatEntryName(CopyFormat)).Action->setChecked(true);
  MenuEntry("Off1").Action->setChecked(StoredFlag(Read(PreferenceName::DisableThumbnailGeneration),
                                                  PreferenceDefault::ThumbnailsOff));
  RecentFiles.Read(Key);
  LoadDialogFilters(Key);
}

void TPelbrookMainWindow::SavePreferences() {
  TRegistryStore& Store = FServices.PreferenceStore();
  std::optional<TRegistryKey> Key = Store.CreateKey(PreferencesKeyPath);
  if (!Key) {
    ShowMessage("For some reason, the program was unable to open the Save Key", TMsgIcon::Stop,
                Store.Failure());
    return;
  }
  const std::pair<std::string_view, std::uint32_t> Values[] = {
      {PreferenceName::ThumbnailSize, static_cast<std::uint32_t>(ThumbnailSize)},
      {PreferenceName::FitIntoThumbnailWritten, FitIntoThumbnail ? 1u : 0u},
      {PreferenceName::FasterResampleUpdate, FasterUpdate ? 1u : 0u},
      {PreferenceName::FasterResampleCode, UseBetterResample == 1 ? 1u : 0u},
      {PreferenceName::CopyFormat, CopyFormat},
      {PreferenceName::DisableThumbnailGeneration, MenuEntry("Off1").Action->isChecked() ? 1u : 0u},
  };
  for (const auto& [Name, Value] : Values) {
    if (!Key->WriteDword(Name, Value)) {
      ShowMessage(
          "An error occured whilst saving preferences. Some or all of your "
          "choices may not be preserved over sessions.",
          TMsgIcon::Exclamation, Key->Failure());
      return;
    }
  }
}

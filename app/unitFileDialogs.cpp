// The window's file dialogs: the folder they start in and the filter they keep across runs.

#include <filesystem>

#include "app/unitPelbrookMainWindow.h"
#include "sprites/unitFileTypeChoice.h"

std::vector<std::pair<TFileDialog*, std::string_view>> TPelbrookMainWindow::RememberedFilters() {
  return {{&OpenSpriteFile, PreferenceName::OpenFilter},
          {&SaveFile, PreferenceName::SaveFilter},
          {&Importbmp, PreferenceName::ImportFilter},
          {&Exportbmp, PreferenceName::ExportFilter}};
}

void TPelbrookMainWindow::LoadDialogFilters(const std::optional<TRegistryKey>& Key) {
  for (const auto& [Dialog, Name] : RememberedFilters()) {
    const std::optional<std::uint32_t> Stored = Key ? Key->ReadDword(Name) : std::nullopt;
    if (!Stored || *Stored < 1 || *Stored > FilterExtensions(Dialog->Filter).size()) continue;
    Dialog->FilterIndex = int(*Stored);
    Dialog->OnTypeChange(*Dialog);
  }
}

bool TPelbrookMainWindow::RunFileDialog(TFileDialog& Dialog) {
  const int Before = Dialog.FilterIndex;
  const bool Confirmed = FServices.ExecuteFileDialog(Dialog);
  if (Dialog.FilterIndex == Before) return Confirmed;
  // Only a convenience: a store that cannot be written is not worth a word here.
  std::optional<TRegistryKey> Key = FServices.PreferenceStore().CreateKey(PreferencesKeyPath);
  for (const auto& [Remembered, Name] : RememberedFilters())
    if (Key && Remembered == &Dialog)
      (void)Key->WriteDword(Name, std::uint32_t(Dialog.FilterIndex));
  return Confirmed;
}

void TPelbrookMainWindow::StartDialogsBesideFile() {
  if (FileName.empty()) return;
  const std::string Folder = std::filesystem::path(FileName).parent_path().string();
  // A name with a folder would open the dialog there: each keeps only its last file's name.
  for (TFileDialog* Dialog : {&SaveFile, &Importbmp, &Exportbmp, &ExportSheet, &ImportSheet}) {
    Dialog->InitialDir = Folder;
    Dialog->FileName = std::filesystem::path(Dialog->FileName).filename().string();
  }
}

#pragma once
// The desktop services of the editor, on Qt: message boxes and file dialogs modal to the main
// window, the system clipboard, the preference file, Qt Multimedia for sound.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/unitDesktopServices.h"

class QSoundEffect;

class TQtDesktopServices : public IDesktopServices {
 public:
  explicit TQtDesktopServices(std::string PreferencesPath = TRegistryStore::DefaultFilePath());
  ~TQtDesktopServices() override;

  // Message boxes and dialogs are modal to this window; none makes them application-modal.
  void SetDialogParent(QWidget* Parent);

  TMsgResult MessageBox(const TMessageBoxRequest& Request) override;
  void ProcessMessages() override;
  void Terminate() override;
  bool ExecuteFileDialog(TFileDialog& Dialog) override;
  bool ExecuteGridDialog(TGridDialog& Dialog) override;
  bool ExecuteSheetExportDialog(TSheetExportSettings& Settings) override;
  bool ClipboardHasFormat(TClipboardFormat Format) override;
  void SetClipboardBitmap(const TBitmap& Bitmap) override;
  std::unique_ptr<TBitmap> ReadClipboardBitmap() override;
  TRegistryStore& PreferenceStore() override { return FPreferenceStore; }
  bool PlaySound(const std::string& Path) override;
  void Sleep(int Milliseconds) override;
  void WaitForMessages() override;
  std::int64_t TickCount() override;
  std::string ProgramFilePath() override;

 private:
  TRegistryStore FPreferenceStore;
  QPointer<QWidget> FDialogParent;
  std::unique_ptr<QSoundEffect> FSound;  // made on the first sound
};

#include "platform/qt/unitQtDesktopServices.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "platform/qt/unitQtClipboard.h"
#include "platform/qt/unitQtFileDialog.h"
#include "platform/qt/unitQtGridDialog.h"
#include "platform/qt/unitSheetExportDialog.h"

namespace {

QMessageBox::Icon IconOf(TMsgIcon Icon) {
  switch (Icon) {
    case TMsgIcon::Stop:
      return QMessageBox::Critical;
    case TMsgIcon::Question:
      return QMessageBox::Question;
    case TMsgIcon::Exclamation:
      return QMessageBox::Warning;
    case TMsgIcon::Information:
      return QMessageBox::Information;
    case TMsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// In the order the box offers them; the last one is also the box's answer to Escape.
std::vector<QMessageBox::StandardButton> ButtonsOf(TMsgButtons Buttons) {
  switch (Buttons) {
    case TMsgButtons::YesNo:
      return {QMessageBox::Yes, QMessageBox::No};
    case TMsgButtons::YesNoCancel:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case TMsgButtons::Ok:
      break;
  }
  return {QMessageBox::Ok};
}

TMsgResult ResultOf(QMessageBox::StandardButton Button) {
  switch (Button) {
    case QMessageBox::Yes:
      return TMsgResult::Yes;
    case QMessageBox::No:
      return TMsgResult::No;
    case QMessageBox::Cancel:
      return TMsgResult::Cancel;
    default:
      return TMsgResult::Ok;
  }
}

}  // namespace

TQtDesktopServices::TQtDesktopServices(std::string PreferencesPath)
    : FPreferenceStore(std::move(PreferencesPath)) {}

TQtDesktopServices::~TQtDesktopServices() = default;

void TQtDesktopServices::SetDialogParent(QWidget* Parent) {
  FDialogParent = Parent;
}

TMsgResult TQtDesktopServices::MessageBox(const TMessageBoxRequest& Request) {
  QMessageBox Box(FDialogParent);
  Box.setWindowTitle(QString::fromStdString(Request.Caption));
  // Error messages quote file names and file contents: never take them for markup.
  Box.setTextFormat(Qt::PlainText);
  Box.setText(QString::fromStdString(Request.Text));
  // In sight without a click: a hidden detail would also take the focus from the buttons.
  Box.setInformativeText(QString::fromStdString(Request.Detail));
  for (QLabel* Label : Box.findChildren<QLabel*>()) Label->setTextFormat(Qt::PlainText);
  Box.setIcon(IconOf(Request.Icon));
  const std::vector<QMessageBox::StandardButton> Buttons = ButtonsOf(Request.Buttons);
  for (const QMessageBox::StandardButton Button : Buttons) Box.addButton(Button);
  const bool SecondIsDefault = Request.DefaultSecondButton && Buttons.size() > 1;
  Box.setDefaultButton(Buttons[SecondIsDefault ? 1 : 0]);
  Box.setEscapeButton(Buttons.back());
  Box.exec();
  return ResultOf(Box.standardButton(Box.clickedButton()));
}

void TQtDesktopServices::ProcessMessages() {
  QCoreApplication::processEvents();
}

void TQtDesktopServices::WaitForMessages() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

std::int64_t TQtDesktopServices::TickCount() {
  return QDeadlineTimer::current().deadline();
}

void TQtDesktopServices::Terminate() {
  // exit, not quit: quit would first ask every window to close, and the close query could
  // keep the application running.
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool TQtDesktopServices::ExecuteFileDialog(TFileDialog& Dialog) {
  return ExecuteQtFileDialog(Dialog, FDialogParent);
}

bool TQtDesktopServices::ExecuteGridDialog(TGridDialog& Dialog) {
  return ExecuteQtGridDialog(Dialog, FDialogParent);
}

bool TQtDesktopServices::ExecuteSheetExportDialog(TSheetExportSettings& Settings) {
  TSheetExportDialog Dialog(Settings, FDialogParent);
  if (Dialog.exec() != QDialog::Accepted) return false;
  Settings = Dialog.Settings();
  return true;
}

bool TQtDesktopServices::ClipboardHasFormat(TClipboardFormat Format) {
  return Format == TClipboardFormat::Bitmap ? ClipboardOffersImage() : ClipboardOffersPalette();
}

void TQtDesktopServices::SetClipboardBitmap(const TBitmap& Bitmap) {
  PutBitmapOnClipboard(Bitmap);
}

std::unique_ptr<TBitmap> TQtDesktopServices::ReadClipboardBitmap() {
  return ReadClipboardImage();
}

bool TQtDesktopServices::PlaySound(const std::string& Path) {
  // With nothing to play on, no retry can help: the caller must not wait for one.
  if (QMediaDevices::audioOutputs().isEmpty()) return true;
  if (!FSound) FSound = std::make_unique<QSoundEffect>();
  // A sound still loading has been asked to play: it counts as playing.
  if (FSound->isPlaying() || FSound->status() == QSoundEffect::Loading) return false;
  FSound->setSource(QUrl::fromLocalFile(QString::fromStdString(Path)));
  if (FSound->status() == QSoundEffect::Error) return false;
  FSound->play();
  return true;
}

void TQtDesktopServices::Sleep(int Milliseconds) {
  QThread::msleep(std::max(0, Milliseconds));
}

std::string TQtDesktopServices::ProgramFilePath() {
  return QCoreApplication::applicationFilePath().toStdString();
}

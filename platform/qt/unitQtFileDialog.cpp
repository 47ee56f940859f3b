#include "platform/qt/unitQtFileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include <stdexcept>

#include "platform/qt/unitQtFileFilter.h"
#include "sprites/unitFileTypeChoice.h"

namespace {

// Qt simplifies the blanks of its filters ("format  (*.s16)" loses one); the box shows them as
// the component has them. Filters are told apart by their place, since two may look alike.
QComboBox& ShowFiltersAsWritten(QFileDialog& Box, const QStringList& NameFilters) {
  auto* Types = Box.findChild<QComboBox*>("fileTypeCombo");
  if (!Types) throw std::logic_error("The file dialog has no filter box");
  for (int I = 0; I < Types->count() && I < NameFilters.size(); ++I)
    Types->setItemText(I, NameFilters[I]);
  return *Types;
}

// Qt's dialog shown as the component asks: its filter followed as the user picks it, the
// extension a typed name asks for, and a folder that must exist.
class TComponentFileDialog : public QFileDialog {
 public:
  TComponentFileDialog(QWidget* Parent, TFileDialog& Dialog)
      : QFileDialog(Parent), FDialog(Dialog) {
    setOption(QFileDialog::DontUseNativeDialog);
    if (!Dialog.Title.empty()) setWindowTitle(QString::fromStdString(Dialog.Title));
    if (Dialog.Kind == TFileDialogKind::Open) {
      setAcceptMode(QFileDialog::AcceptOpen);
      setFileMode(Dialog.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
      setAcceptMode(QFileDialog::AcceptSave);
      setFileMode(QFileDialog::AnyFile);
      setOption(QFileDialog::DontConfirmOverwrite, !Dialog.OverwritePrompt);
    }
    // HideReadOnly needs nothing: Qt's dialog has no read-only box.
    const QStringList NameFilters = NameFiltersFromFilter(Dialog.Filter);
    setNameFilters(NameFilters);
    const int First = Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= NameFilters.size()
                          ? Dialog.FilterIndex
                          : 1;
    if (!NameFilters.isEmpty()) selectNameFilter(nameFilters()[First - 1]);
    FTypes = &ShowFiltersAsWritten(*this, NameFilters);
    setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
    if (!Dialog.InitialDir.empty()) setDirectory(QFile::decodeName(Dialog.InitialDir.c_str()));
    selectFile(QFile::decodeName(Dialog.FileName.c_str()));
    // The component follows the filter as the user picks it, so that even a cancelled dialog
    // opens next time as it was left.
    Dialog.FilterIndex = First;
    connect(this, &QFileDialog::filterSelected, this,
            [this] { PickFilter(FTypes->currentIndex() + 1); });
  }

  int PickedFilter() const { return FTypes->currentIndex() + 1; }

 protected:
  void accept() override {
    QStringList Files = selectedFiles();
    // A folder's name opens the folder.
    if (!Files.isEmpty() && FDialog.ExtensionPicksFilter && !QFileInfo(Files.first()).isDir()) {
      const std::string Typed = QFile::encodeName(Files.first()).toStdString();
      const TFileTypeChoice Choice =
          ChooseFileType(Typed, FilterExtensions(FDialog.Filter), PickedFilter());
      if (Choice.FilterIndex != PickedFilter()) {
        FTypes->setCurrentIndex(Choice.FilterIndex - 1);
        PickFilter(Choice.FilterIndex);
      }
      // Qt asks about overwriting the name in the box: it must be the one that is written.
      auto* Name = findChild<QLineEdit*>("fileNameEdit");
      if (Name && Choice.Path.size() > Typed.size()) {
        Name->setText(Name->text() + QFile::decodeName(Choice.Path.substr(Typed.size()).c_str()));
        Files = selectedFiles();
      }
    }
    // Qt's save dialog takes a name in a folder that does not exist; this one refuses it, as
    // the open dialog does a missing file, and stays open.
    if (FDialog.PathMustExist && !Files.isEmpty() && !QFileInfo(Files.first()).dir().exists()) {
      QMessageBox::warning(this, windowTitle(),
                           QDir::toNativeSeparators(Files.first()) +
                               "\nPath does not exist.\nCheck the path and try again.");
      return;
    }
    QFileDialog::accept();
  }

 private:
  void PickFilter(int Picked) {
    if (Picked == 0 || Picked == FDialog.FilterIndex) return;
    FDialog.FilterIndex = Picked;
    if (FDialog.OnTypeChange) FDialog.OnTypeChange(FDialog);
    setDefaultSuffix(QString::fromStdString(FDialog.DefaultExt));
  }

  TFileDialog& FDialog;
  QComboBox* FTypes = nullptr;
};

}  // namespace

bool ExecuteQtFileDialog(TFileDialog& Dialog, QWidget* Parent) {
  TComponentFileDialog Box(Parent, Dialog);
  if (Box.exec() != QDialog::Accepted) return false;
  Dialog.FileName = QFile::encodeName(Box.selectedFiles().value(0)).toStdString();
  if (Box.PickedFilter() > 0) Dialog.FilterIndex = Box.PickedFilter();
  return true;
}

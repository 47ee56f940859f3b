#include "platform/qt/unitQtFileDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <stdexcept>

#include "platform/qt/unitQtFileFilter.h"

namespace {

// Qt's save dialog takes a name in a folder that does not exist; this one refuses it, as the
// open dialog does a missing file, and stays open.
class TPathCheckingFileDialog : public QFileDialog {
 public:
  TPathCheckingFileDialog(QWidget* Parent, bool PathMustExist)
      : QFileDialog(Parent), FPathMustExist(PathMustExist) {}

 protected:
  void accept() override {
    const QStringList Files = selectedFiles();
    if (FPathMustExist && !Files.isEmpty() && !QFileInfo(Files.first()).dir().exists()) {
      QMessageBox::warning(this, windowTitle(),
                           QDir::toNativeSeparators(Files.first()) +
                               "\nPath does not exist.\nCheck the path and try again.");
      return;
    }
    QFileDialog::accept();
  }

 private:
  bool FPathMustExist;
};

void ApplyOptions(QFileDialog& Box, const TFileDialog& Dialog) {
  Box.setOption(QFileDialog::DontUseNativeDialog);
  if (Dialog.Kind == TFileDialogKind::Open) {
    Box.setAcceptMode(QFileDialog::AcceptOpen);
    Box.setFileMode(Dialog.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  } else {
    Box.setAcceptMode(QFileDialog::AcceptSave);
    Box.setFileMode(QFileDialog::AnyFile);
    Box.setOption(QFileDialog::DontConfirmOverwrite, !Dialog.OverwritePrompt);
  }
  // HideReadOnly needs nothing: Qt's dialog has no read-only box.
}

// Qt simplifies the blanks of its filters ("format  (*.s16)" loses one); the box shows them as
// the component has them. Filters are told apart by their place, since two may look alike.
QComboBox& ShowFiltersAsWritten(QFileDialog& Box, const QStringList& NameFilters) {
  auto* Types = Box.findChild<QComboBox*>("fileTypeCombo");
  if (!Types) throw std::logic_error("The file dialog has no filter box");
  for (int I = 0; I < Types->count() && I < NameFilters.size(); ++I)
    Types->setItemText(I, NameFilters[I]);
  return *Types;
}

}  // namespace

bool ExecuteQtFileDialog(TFileDialog& Dialog, QWidget* Parent) {
  TPathCheckingFileDialog Box(Parent, Dialog.PathMustExist);
  ApplyOptions(Box, Dialog);
  const QStringList NameFilters = NameFiltersFromFilter(Dialog.Filter);
  Box.setNameFilters(NameFilters);
  const int FirstIndex =
      Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= NameFilters.size() ? Dialog.FilterIndex : 1;
  if (!NameFilters.isEmpty()) Box.selectNameFilter(Box.nameFilters()[FirstIndex - 1]);
  QComboBox& Types = ShowFiltersAsWritten(Box, NameFilters);
  Box.setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
  Box.selectFile(QString::fromStdString(Dialog.FileName));

  // The component follows the filter as the user picks it, so that even a cancelled dialog
  // opens next time as it was left.
  Dialog.FilterIndex = FirstIndex;
  QObject::connect(&Box, &QFileDialog::filterSelected, &Box, [&](const QString&) {
    const int Picked = Types.currentIndex() + 1;
    if (Picked == 0 || Picked == Dialog.FilterIndex) return;
    Dialog.FilterIndex = Picked;
    if (Dialog.OnTypeChange) Dialog.OnTypeChange(Dialog);
    Box.setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
  });

  if (Box.exec() != QDialog::Accepted) return false;
  Dialog.FileName = Box.selectedFiles().value(0).toStdString();
  if (Types.currentIndex() >= 0) Dialog.FilterIndex = Types.currentIndex() + 1;
  return true;
}

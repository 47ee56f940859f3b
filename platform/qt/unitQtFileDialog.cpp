#include "platform/qt/unitQtFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

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

// The filter's 1-based place among the dialog's; 0 when it is not one of them. Qt keeps its
// filters with blanks simplified, so they are matched as the dialog holds them.
int FilterIndexOf(const QFileDialog& Box, const QString& NameFilter) {
  return int(Box.nameFilters().indexOf(NameFilter)) + 1;
}

}  // namespace

bool ExecuteQtFileDialog(TFileDialog& Dialog, QWidget* Parent) {
  TPathCheckingFileDialog Box(Parent, Dialog.PathMustExist);
  ApplyOptions(Box, Dialog);
  Box.setNameFilters(NameFiltersFromFilter(Dialog.Filter));
  const QStringList NameFilters = Box.nameFilters();
  const int FirstIndex =
      Dialog.FilterIndex >= 1 && Dialog.FilterIndex <= NameFilters.size() ? Dialog.FilterIndex : 1;
  if (!NameFilters.isEmpty()) Box.selectNameFilter(NameFilters[FirstIndex - 1]);
  Box.setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
  Box.selectFile(QString::fromStdString(Dialog.FileName));

  const int FilterIndexBefore = Dialog.FilterIndex;
  const std::string DefaultExtBefore = Dialog.DefaultExt;
  Dialog.FilterIndex = FirstIndex;
  QObject::connect(&Box, &QFileDialog::filterSelected, &Box, [&](const QString& NameFilter) {
    const int Picked = FilterIndexOf(Box, NameFilter);
    if (Picked == 0 || Picked == Dialog.FilterIndex) return;
    Dialog.FilterIndex = Picked;
    if (Dialog.OnTypeChange) Dialog.OnTypeChange(Dialog);
    Box.setDefaultSuffix(QString::fromStdString(Dialog.DefaultExt));
  });

  if (Box.exec() != QDialog::Accepted) {
    // The type-change handler derives the extension from the filter: both go back together.
    Dialog.FilterIndex = FilterIndexBefore;
    Dialog.DefaultExt = DefaultExtBefore;
    return false;
  }
  Dialog.FileName = Box.selectedFiles().value(0).toStdString();
  if (const int Chosen = FilterIndexOf(Box, Box.selectedNameFilter())) Dialog.FilterIndex = Chosen;
  return true;
}

#pragma once
// The dialog of "Export Sprite Sheet…": which sprites, the packing, padding, power-of-two
// sides, trimming, the atlas's form and the frame names.

#include <QDialog>

#include "platform/unitDesktopServices.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

class TSheetExportDialog : public QDialog {
  Q_OBJECT

 public:
  TSheetExportDialog(const TSheetExportSettings& Settings, QWidget* Parent);
  // The choices as the dialog shows them.
  TSheetExportSettings Settings() const;

 private:
  TSheetExportSettings FShown;
  QRadioButton* FAll = nullptr;
  QRadioButton* FRange = nullptr;
  QSpinBox* FFirst = nullptr;
  QSpinBox* FLast = nullptr;
  QComboBox* FPacking = nullptr;
  QSpinBox* FPadding = nullptr;
  QCheckBox* FPowerOfTwo = nullptr;
  QCheckBox* FTrim = nullptr;
  QComboBox* FForm = nullptr;
  QLineEdit* FNames = nullptr;
};

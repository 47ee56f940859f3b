#include "platform/qt/unitSheetExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>

TSheetExportDialog::TSheetExportDialog(const TSheetExportSettings& Settings, QWidget* Parent)
    : QDialog(Parent), FShown(Settings) {
  setWindowTitle("Export Sprite Sheet");
  auto* Form = new QFormLayout(this);

  const int Highest = std::max(0, Settings.SpriteCount - 1);
  FAll = new QRadioButton(QString("&All %1 sprites").arg(Settings.SpriteCount), this);
  FRange = new QRadioButton("&From", this);
  FFirst = new QSpinBox(this);
  FLast = new QSpinBox(this);
  for (QSpinBox* Box : {FFirst, FLast}) Box->setRange(0, Highest);
  FFirst->setValue(std::clamp(Settings.First, 0, Highest));
  FLast->setValue(std::clamp(Settings.Last, 0, Highest));
  (Settings.AllSprites ? FAll : FRange)->setChecked(true);
  auto* Range = new QHBoxLayout;
  Range->addWidget(FRange);
  Range->addWidget(FFirst);
  Range->addWidget(new QLabel("to", this));
  Range->addWidget(FLast);
  Range->addStretch();
  Form->addRow("Sprites:", FAll);
  Form->addRow("", Range);
  // The range stays in order whichever end the user moves.
  connect(FFirst, &QSpinBox::valueChanged, this, [this](int Value) {
    FRange->setChecked(true);
    FLast->setValue(std::max(FLast->value(), Value));
  });
  connect(FLast, &QSpinBox::valueChanged, this, [this](int Value) {
    FRange->setChecked(true);
    FFirst->setValue(std::min(FFirst->value(), Value));
  });

  FPacking = new QComboBox(this);
  FPacking->addItems({"Rows, in sprite order", "Max-rects, tightest"});
  FPacking->setCurrentIndex(Settings.MaxRects ? 1 : 0);
  Form->addRow("&Packing:", FPacking);
  FPadding = new QSpinBox(this);
  FPadding->setRange(0, 16);
  FPadding->setSuffix(" px");
  FPadding->setValue(Settings.Padding);
  Form->addRow("Pa&dding between sprites:", FPadding);
  FPowerOfTwo = new QCheckBox("Sheet sides are powers of t&wo", this);
  FPowerOfTwo->setChecked(Settings.PowerOfTwo);
  Form->addRow("", FPowerOfTwo);
  FTrim = new QCheckBox("&Trim black borders", this);
  FTrim->setChecked(Settings.Trim);
  Form->addRow("", FTrim);
  FForm = new QComboBox(this);
  FForm->addItems({"JSON Hash", "JSON Array"});
  FForm->setCurrentIndex(Settings.ArrayForm ? 1 : 0);
  Form->addRow("Atla&s form:", FForm);
  FNames = new QLineEdit(QString::fromStdString(Settings.NamePattern), this);
  FNames->setToolTip("{n} is the sprite's index, {n:4} the index in four digits");
  Form->addRow("Frame &names:", FNames);

  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  Form->addRow(Buttons);
}

TSheetExportSettings TSheetExportDialog::Settings() const {
  TSheetExportSettings Settings = FShown;
  Settings.AllSprites = FAll->isChecked();
  Settings.First = FFirst->value();
  Settings.Last = FLast->value();
  Settings.MaxRects = FPacking->currentIndex() == 1;
  Settings.Padding = FPadding->value();
  Settings.PowerOfTwo = FPowerOfTwo->isChecked();
  Settings.Trim = FTrim->isChecked();
  Settings.ArrayForm = FForm->currentIndex() == 1;
  Settings.NamePattern = FNames->text().toStdString();
  return Settings;
}

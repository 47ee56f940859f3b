#include "platform/qt/unitQtGridDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int PreviewWidth = 480;
constexpr int PreviewHeight = 360;
// Past this many cells a cell is a dot in the preview: only the cells to cut are outlined.
constexpr std::int64_t MostOutlinedCells = 1 << 18;

class TGridPreview : public QWidget {
 public:
  explicit TGridPreview(const TS16Sprite& Sheet)
      : FSheet(reinterpret_cast<const uchar*>(Sheet.PixelData()), Sheet.Width(), Sheet.Height(),
               2 * Sheet.Width(), QImage::Format_RGB16) {
    setFixedSize(PreviewWidth, PreviewHeight);
    setObjectName("GridPreview");
  }

  void Show(const TGridLayout& Layout, TGridPlan Plan) {
    FLayout = Layout;
    FPlan = std::move(Plan);
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter Canvas(this);
    Canvas.fillRect(rect(), palette().dark());
    if (FSheet.isNull()) return;
    // Small sheets grow by whole steps, so their pixels stay square; large ones shrink.
    double Scale =
        std::min(double(PreviewWidth) / FSheet.width(), double(PreviewHeight) / FSheet.height());
    if (Scale >= 1) Scale = std::floor(Scale);
    const QRectF Sheet((PreviewWidth - FSheet.width() * Scale) / 2,
                       (PreviewHeight - FSheet.height() * Scale) / 2, FSheet.width() * Scale,
                       FSheet.height() * Scale);
    Canvas.setRenderHint(QPainter::SmoothPixmapTransform, Scale < 1);
    Canvas.drawImage(Sheet, FSheet);
    const auto Area = [&](double Left, double Top, double Width, double Height) {
      return QRectF(Sheet.left() + Left * Scale, Sheet.top() + Top * Scale, Width * Scale,
                    Height * Scale);
    };
    const auto CellArea = [&](const TCutBox& Cell) {
      return Area(Cell.Left, Cell.Top, Cell.Right - Cell.Left + 1, Cell.Bottom - Cell.Top + 1);
    };
    // What no cell takes (the margin, and the strips too narrow for a whole cell) is dimmed.
    const double GridWidth =
        FPlan.Columns * (double(FLayout.CellWidth) + FLayout.Spacing) - FLayout.Spacing;
    const double GridHeight =
        FPlan.Rows * (double(FLayout.CellHeight) + FLayout.Spacing) - FLayout.Spacing;
    QPainterPath Outside;
    Outside.addRect(Sheet);
    if (FPlan.Columns > 0 && FPlan.Rows > 0)
      Outside.addRect(Area(FLayout.Margin, FLayout.Margin, GridWidth, GridHeight));
    Canvas.fillPath(Outside, QColor(128, 128, 128, 160));
    Canvas.setPen(QPen(QColor(160, 160, 160), 0, Qt::DotLine));
    if (std::int64_t(FPlan.Columns) * FPlan.Rows <= MostOutlinedCells)
      for (int Row = 0; Row < FPlan.Rows; ++Row)
        for (int Column = 0; Column < FPlan.Columns; ++Column)
          Canvas.drawRect(
              Area(FLayout.Margin + Column * (double(FLayout.CellWidth) + FLayout.Spacing),
                   FLayout.Margin + Row * (double(FLayout.CellHeight) + FLayout.Spacing),
                   FLayout.CellWidth, FLayout.CellHeight));
    Canvas.setPen(QPen(QColor(255, 0, 255), 0));
    for (const TCutBox& Cell : FPlan.Cells) Canvas.drawRect(CellArea(Cell));
  }

 private:
  QImage FSheet;  // over the sprite's own 5-6-5 words
  TGridLayout FLayout;
  TGridPlan FPlan;
};

QSpinBox* NumberBox(int Least, int Value, const char* Name) {
  auto* Box = new QSpinBox;
  Box->setRange(Least, 65535);
  Box->setValue(std::clamp(Value, Least, 65535));
  Box->setSuffix(" px");
  Box->setObjectName(Name);
  return Box;
}

}  // namespace

bool ExecuteQtGridDialog(TGridDialog& Dialog, QWidget* Parent) {
  QDialog Window(Parent);
  Window.setWindowTitle("Cut by Grid");
  QSpinBox* CellWidth = NumberBox(1, Dialog.Layout.CellWidth, "CellWidth");
  QSpinBox* CellHeight = NumberBox(1, Dialog.Layout.CellHeight, "CellHeight");
  QSpinBox* Margin = NumberBox(0, Dialog.Layout.Margin, "Margin");
  QSpinBox* Spacing = NumberBox(0, Dialog.Layout.Spacing, "Spacing");
  auto* SkipEmpty = new QCheckBox("S&kip empty cells (entirely black)");
  SkipEmpty->setChecked(Dialog.Layout.SkipEmpty);
  auto* Preview = new TGridPreview(*Dialog.Sheet);
  auto* Outcome = new QLabel;
  Outcome->setObjectName("GridOutcome");
  auto* Note = new QLabel(
      "The margin is counted from the top-left corner. Cells that do not fit whole at the right "
      "or bottom edge are left out.");
  Note->setWordWrap(true);
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);

  auto* Numbers = new QFormLayout;
  Numbers->addRow("Cell &width:", CellWidth);
  Numbers->addRow("Cell &height:", CellHeight);
  Numbers->addRow("&Margin:", Margin);
  Numbers->addRow("&Spacing:", Spacing);
  Numbers->addRow(SkipEmpty);
  auto* Rows = new QVBoxLayout(&Window);
  Rows->addLayout(Numbers);
  Rows->addWidget(Preview);
  Rows->addWidget(Outcome);
  Rows->addWidget(Note);
  Rows->addWidget(Buttons);

  TGridLayout Chosen;
  const auto Update = [&] {
    Chosen = {CellWidth->value(), CellHeight->value(), Margin->value(), Spacing->value(),
              SkipEmpty->isChecked()};
    TGridPlan Plan = PlanGrid(*Dialog.Sheet, Chosen, Dialog.Limit);
    Outcome->setText(QString::fromStdString(GridPlanText(Plan, Dialog.Limit)));
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(!Plan.Cells.empty() && !Plan.OverLimit);
    Preview->Show(Chosen, std::move(Plan));
  };
  for (QSpinBox* Box : {CellWidth, CellHeight, Margin, Spacing})
    QObject::connect(Box, &QSpinBox::valueChanged, &Window, Update);
  QObject::connect(SkipEmpty, &QCheckBox::toggled, &Window, Update);
  QObject::connect(Buttons, &QDialogButtonBox::accepted, &Window, &QDialog::accept);
  QObject::connect(Buttons, &QDialogButtonBox::rejected, &Window, &QDialog::reject);
  Update();
  if (Window.exec() != QDialog::Accepted) return false;
  Dialog.Layout = Chosen;
  return true;
}

// The two views that cover the list while a cutter runs: the expansion's working image, and
// the manual cutter's image with its marker, Finish button and menu.

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitShapeMarker.h"
#include "app/unitWorkingImageView.h"

void TPelbrookMainWindow::CreateCutterViews(QWidget* Client) {
  AutoCutter = new QScrollArea(Client);
  AutoCutter->setObjectName("AutoCutter");
  AutoCutImg = new TWorkingImageView;
  AutoCutImg->setObjectName("AutoCutImg");
  AutoCutter->setWidget(AutoCutImg);
  AutoCutter->hide();

  ManualScroller = new QScrollArea(Client);
  ManualScroller->setObjectName("ManualScroller");
  ManualScroller->setWidgetResizable(true);
  auto* Content = new QWidget;
  auto* Layout = new QVBoxLayout(Content);
  Layout->setContentsMargins(0, 0, 0, 0);
  Layout->setSpacing(0);
  ManualScrollBox = new QScrollArea(Content);
  ManualScrollBox->setObjectName("ManualScrollBox");
  ManualClipper = new TWorkingImageView;
  ManualClipper->setObjectName("ManualClipper");
  ManualScrollBox->setWidget(ManualClipper);
  ShapeMarker = new TShapeMarker(ManualClipper);
  Panel1 = new QFrame(Content);
  Panel1->setObjectName("Panel1");
  Panel1->setFixedHeight(41);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  FinishButton = new QPushButton("Finish Cut Process", Panel1);
  FinishButton->setObjectName("FinishButton");
  // Wider than the form's 99 pixels where the caption needs it in this font.
  FinishButton->setGeometry(8, 8, std::max(99, FinishButton->sizeHint().width()), 25);
  FinishButton->setToolTip("Finish cut process");
  FinishButton->setStatusTip("Closes the manual cut window, discarding any remaining image.");
  Layout->addWidget(ManualScrollBox, 1);
  Layout->addWidget(Panel1);
  ManualScroller->setWidget(Content);
  ManualScroller->hide();

  SplitterMenu = new QMenu(this);
  SplitterMenu->setObjectName("SplitterMenu");
  Finish1 = SplitterMenu->addAction("&Finish");
  Finish1->setObjectName("Finish1");
  Finish1->setShortcut(QKeySequence("Ctrl+F"));
  SplitterMenu->setDefaultAction(Finish1);
  for (QWidget* Owner :
       {static_cast<QWidget*>(ManualScroller), static_cast<QWidget*>(ManualClipper)}) {
    Owner->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Owner, &QWidget::customContextMenuRequested, this,
            [this, Owner](const QPoint& At) { SplitterMenu->popup(Owner->mapToGlobal(At)); });
  }

  connect(Finish1, &QAction::triggered, this, &TPelbrookMainWindow::Finish1Click);
  connect(FinishButton, &QPushButton::clicked, this, &TPelbrookMainWindow::Finish1Click);
  ManualClipper->OnMouseDown = [this](Qt::MouseButton Button, int X, int Y) {
    ManualClipperMouseDown(Button, X, Y);
  };
  ManualClipper->OnMouseUp = [this](Qt::MouseButton Button, int X, int Y) {
    ManualClipperMouseUp(Button, X, Y);
  };
  ShapeMarker->OnMouseDown = [this] { ShapeMarkerMouseDown(); };
}

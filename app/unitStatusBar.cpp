// The running report: panel 1's text and panel 0's progress bar with the heap figure. Both
// reports let pending window messages run, which keeps the window alive during long commands.

#include <QLabel>
#include <QPainter>
#include <QStatusBar>

#include "app/unitPelbrookMainWindow.h"
#include "app/unitProgressPanel.h"
#include "platform/unitHeapStatus.h"

void TPelbrookMainWindow::SetStatusText(const std::string& Text) {
  LogStatusText(Text);
  PutStatusText(Text);
  FServices.ProcessMessages();
}

void TPelbrookMainWindow::SetProgress(int Value) {
  if (Value == Progress) return;
  Progress = static_cast<std::int8_t>(Value);
  StatusBar->repaint();
  FServices.ProcessMessages();
}

void TPelbrookMainWindow::LogStatusText(const std::string& Text) {
  qCDebug(PelbrookWindowLog).noquote() << "status:" << QString::fromStdString(Text);
}

void TPelbrookMainWindow::PutStatusText(const std::string& Text) {
  FStatusText = QString::fromStdString(Text);
  StatusPanel1->setText(FStatusText);
}

void TPelbrookMainWindow::PutProgress(int Value) {
  if (Value == Progress) return;
  Progress = static_cast<std::int8_t>(Value);
  StatusBar->update();
}

void TPelbrookMainWindow::StatusBarDrawPanel(QPainter& Canvas, const QRect& Rect) {
  Canvas.drawImage(Rect.topLeft(), PaintProgressPanel(Rect.size(), Progress, HeapBytesInUse(),
                                                      StatusBar->palette()));
}

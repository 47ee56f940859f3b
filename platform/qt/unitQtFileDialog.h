#pragma once
// A file dialog component shown as Qt's own, non-native dialog, so it behaves the same on
// every desktop.

#include <QWidget>

#include "platform/unitDesktopServices.h"

// Modal to Parent. On confirmation sets the dialog's FileName and FilterIndex and returns
// true; a cancel leaves the dialog as it was.
bool ExecuteQtFileDialog(TFileDialog& Dialog, QWidget* Parent);

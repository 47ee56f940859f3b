#pragma once
// A file dialog component shown as Qt's own, non-native dialog, so it behaves the same on
// every desktop.

#include <QWidget>

#include "platform/unitDesktopServices.h"

// Modal to Parent. The dialog's FilterIndex follows the filter the user picks, also when the
// dialog is then cancelled; on confirmation sets its FileName and returns true.
bool ExecuteQtFileDialog(TFileDialog& Dialog, QWidget* Parent);

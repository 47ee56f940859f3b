#pragma once
// The grid cutter's dialog on Qt: the cell size, margin, spacing and "skip empty cells", with the
// sheet scaled to fit under the grid they make, redrawn as the numbers change.

#include <QWidget>

#include "imaging/unitGridCut.h"

// Modal to Parent; on OK sets Dialog.Layout and returns true.
bool ExecuteQtGridDialog(TGridDialog& Dialog, QWidget* Parent);

#pragma once
// Draws a thumbnail list item with the picture's place kept whether or not the item has a
// picture yet, so that captions stand still while thumbnails arrive and with "&Off" ticked.

#include <QStyledItemDelegate>

class TThumbnailItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override;
};

#include "app/unitThumbnailItemDelegate.h"

void TThumbnailItemDelegate::initStyleOption(QStyleOptionViewItem* Option,
                                             const QModelIndex& Index) const {
  QStyledItemDelegate::initStyleOption(Option, Index);
  // Without a picture the option keeps the view's icon size and an empty icon, which the
  // style lays out as a picture and paints as nothing.
  Option->features |= QStyleOptionViewItem::HasDecoration;
}

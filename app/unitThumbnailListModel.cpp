#include "app/unitThumbnailListModel.h"

#include <algorithm>

#include "app/unitImageList.h"

TThumbnailListModel::TThumbnailListModel(const TImageList& Images, QObject* Parent)
    : QAbstractListModel(Parent), FImages(Images) {}

int TThumbnailListModel::rowCount(const QModelIndex& Parent) const {
  return Parent.isValid() ? 0 : static_cast<int>(FItems.size());
}

QVariant TThumbnailListModel::data(const QModelIndex& Index, int Role) const {
  if (!Index.isValid() || Index.row() >= rowCount()) return {};
  const TListItem& Shown = FItems[static_cast<std::size_t>(Index.row())];
  if (Role == Qt::DisplayRole) return Shown.Caption;
  if (Role == Qt::SizeHintRole) return FItemSize;
  if (Role == Qt::DecorationRole) {
    QImage Image = FImages.Image(Shown.ImageIndex);
    if (!Image.isNull()) return Image;
  }
  return {};
}

void TThumbnailListModel::Move(int From, int To) {
  beginMoveRows(QModelIndex(), From, From, QModelIndex(), To > From ? To + 1 : To);
  const auto Item = FItems.begin();
  if (From < To)
    std::rotate(Item + From, Item + From + 1, Item + To + 1);
  else
    std::rotate(Item + To, Item + From, Item + From + 1);
  endMoveRows();
}

void TThumbnailListModel::EndUpdate() {
  FUpdating = false;
  Flush();
}

void TThumbnailListModel::Clear() {
  beginResetModel();
  FItems.clear();
  FPending.clear();
  endResetModel();
}

void TThumbnailListModel::Append(TListItem Item) {
  FPending.push_back(std::move(Item));
  if (!FUpdating) Flush();
}

const TListItem& TThumbnailListModel::Item(int Index) const {
  const auto Position = static_cast<std::size_t>(Index);
  return Position < FItems.size() ? FItems[Position] : FPending.at(Position - FItems.size());
}

void TThumbnailListModel::Remove(int Index) {
  beginRemoveRows(QModelIndex(), Index, Index);
  FItems.erase(FItems.begin() + Index);
  endRemoveRows();
}

void TThumbnailListModel::SetCaption(int Index, QString Caption) {
  FItems.at(static_cast<std::size_t>(Index)).Caption = std::move(Caption);
  emit dataChanged(index(Index), index(Index), {Qt::DisplayRole});
}

void TThumbnailListModel::SetImageIndex(int Index, int ImageIndex) {
  FItems.at(static_cast<std::size_t>(Index)).ImageIndex = ImageIndex;
  emit dataChanged(index(Index), index(Index), {Qt::DecorationRole});
}

void TThumbnailListModel::Flush() {
  if (FPending.empty()) return;
  const int First = static_cast<int>(FItems.size());
  beginInsertRows(QModelIndex(), First, First + static_cast<int>(FPending.size()) - 1);
  FItems.insert(FItems.end(), std::make_move_iterator(FPending.begin()),
                std::make_move_iterator(FPending.end()));
  FPending.clear();
  endInsertRows();
}

QString ItemCaption(int Index, int Width, int Height) {
  return QStringLiteral("[%1] - %2 by %3").arg(Index).arg(Width).arg(Height);
}

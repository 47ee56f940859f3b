#pragma once
// The items of the thumbnail list: a caption and an image index each, shown in document order.
// Items appended while updates are suspended reach the view in one step when they resume, so a
// rebuild of tens of thousands of items lays the view out once.

#include <QAbstractListModel>
#include <QSize>
#include <QString>
#include <vector>

class TImageList;

struct TListItem {
  QString Caption;
  int ImageIndex = -1;
};

class TThumbnailListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TThumbnailListModel(const TImageList& Images, QObject* Parent = nullptr);

  int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& Index, int Role) const override;

  // Every item's size: what the view lays out before any picture exists, and with none.
  void SetItemSize(QSize Size) { FItemSize = Size; }

  // Not counted: a rebuild nested in a running one shows its items when it ends.
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate();
  void Clear();
  void Append(TListItem Item);
  // Items not yet shown count too: item I is the I-th appended.
  int Count() const { return static_cast<int>(FItems.size() + FPending.size()); }
  const TListItem& Item(int Index) const;
  // Changes to items already shown, as Cut and Paste Over make them without a rebuild.
  void Remove(int Index);
  void SetCaption(int Index, QString Caption);
  void SetImageIndex(int Index, int ImageIndex);
  // Item From, with its picture, to place To.
  void Move(int From, int To);

 private:
  void Flush();

  const TImageList& FImages;
  std::vector<TListItem> FItems;
  std::vector<TListItem> FPending;
  bool FUpdating = false;
  QSize FItemSize;
};

// "[" + Index + "] - " + Width + " by " + Height.
QString ItemCaption(int Index, int Width, int Height);

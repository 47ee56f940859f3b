#include "imaging/unitFilePreview.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "imaging/resample.h"
#include "imaging/unitThumbnailMaker.h"

namespace {

// Sprite scaled to fit Side x Side with its shape, or nothing when it cannot be.
bool ScaleInto(const TS16Sprite& Sprite, int Side, TBitmap& Scaled) {
  try {
    const TScaledSize Size =
        ThumbnailGeometry(Sprite.Width(), Sprite.Height(), TThumbnailSettings{Side, true, 0});
    TBitmap Source = WidenedSprite(Sprite);
    Scaled = TBitmap(TPixelFormat::pf24bit, std::max(Size.Width, 1), std::max(Size.Height, 1));
    const TFilterRow& Box = FilterTable[0];
    ResampleBitmap(Source, Scaled, Box.Weight, Box.Support);
    return true;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

TPreviewGrid PreviewGrid(int Count, int Size) {
  const int Columns = std::min(int(std::ceil(std::sqrt(double(std::max(Count, 1))))), Size);
  const int Rows = (std::max(Count, 1) + Columns - 1) / Columns;
  return {Columns, Rows, Size / Columns};
}

TBitmap MakePreview(const std::vector<std::unique_ptr<TS16Sprite>>& Sprites, int Size) {
  TBitmap Scaled;
  if (Sprites.size() == 1) {
    if (!ScaleInto(*Sprites[0], Size, Scaled))
      throw EThumbnailError("The sprite cannot be scaled to a preview");
    return Scaled;
  }
  const TPreviewGrid Grid = PreviewGrid(int(Sprites.size()), Size);
  // A little space between neighbours, so that sprites touching their cells stay apart.
  const int Margin = Grid.Cell / 32;
  TBitmap Sheet(TPixelFormat::pf24bit, Grid.Columns * Grid.Cell, Grid.Rows * Grid.Cell);
  bool Shown = false;
  for (std::size_t Index = 0; Index < Sprites.size(); ++Index) {
    if (!ScaleInto(*Sprites[Index], Grid.Cell - 2 * Margin, Scaled)) continue;
    const int Column = int(Index) % Grid.Columns, Row = int(Index) / Grid.Columns;
    Sheet.CopyRect(Column * Grid.Cell + (Grid.Cell - Scaled.Width()) / 2,
                   Row * Grid.Cell + (Grid.Cell - Scaled.Height()) / 2, Scaled, 0, 0,
                   Scaled.Width(), Scaled.Height());
    Shown = true;
  }
  if (!Shown) throw EThumbnailError("None of the sprites can be scaled to a preview");
  return Sheet;
}

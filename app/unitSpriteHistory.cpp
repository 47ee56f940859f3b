#include "app/unitSpriteHistory.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

std::size_t RunBytes(const TS16File& File, int Index, int Count) {
  std::size_t Bytes = 0;
  for (int K = Index; K < Index + Count; ++K) Bytes += File.GetSprite(K).PixelCount() * 2;
  return Bytes;
}

}  // namespace

TReplaceStep::TReplaceStep(QString Text, const TS16File& File, int Index, TSpriteRun Removed,
                           int Inserted)
    : TSpriteStep(std::move(Text)),
      FIndex(Index),
      FHeld(std::move(Removed)),
      FInDocument(Inserted),
      FBytes(std::max(std::accumulate(FHeld.begin(), FHeld.end(), std::size_t(0),
                                      [](std::size_t Sum, const auto& Sprite) {
                                        return Sum + Sprite->PixelCount() * 2;
                                      }),
                      RunBytes(File, Index, Inserted))) {}

int IndexAfter(const TDocumentChange& Change, int Index) {
  if (Change.Kind == TDocumentChange::TKind::Moved) {
    if (Index == Change.Index) return Change.To;
    if (Change.Index < Index && Index <= Change.To) return Index - 1;
    if (Change.To <= Index && Index < Change.Index) return Index + 1;
    return Index;
  }
  if (Index >= Change.Index + Change.Removed) return Index + Change.Inserted - Change.Removed;
  if (Index < Change.Index) return Index;
  // A sprite replaced one for one, as Paste Over and its undo do, is still there.
  return Change.Removed == Change.Inserted ? Index : -1;
}

TDocumentChange TReplaceStep::Toggle(TS16File& File) {
  TSpriteRun Taken = File.Take(FIndex, FInDocument);
  const int Removed = FInDocument;
  FInDocument = static_cast<int>(FHeld.size());
  File.Put(FIndex, std::move(FHeld));
  FHeld = std::move(Taken);
  return {TDocumentChange::TKind::Replaced, FIndex, Removed, FInDocument, 0};
}

TDocumentChange TMoveStep::Toggle(TS16File& File) {
  // The step is made done: each toggle first turns it the other way round.
  std::swap(FFrom, FTo);
  File.Put(FTo, File.Take(FFrom, 1));
  return {TDocumentChange::TKind::Moved, FFrom, 0, 0, FTo};
}

// The stack's command over a step. Commands are made for steps already done: the redo that
// pushing runs first does nothing.
class TSpriteHistory::TStepCommand : public QUndoCommand {
 public:
  TStepCommand(TSpriteHistory& History, std::shared_ptr<TSpriteStep> Step)
      : QUndoCommand(Step->Text()), FHistory(History), FStep(std::move(Step)) {}
  void undo() override { FHistory.FLastChange = FStep->Toggle(*FHistory.FDocument); }
  void redo() override {
    if (std::exchange(FPushed, false)) return;
    FHistory.FLastChange = FStep->Toggle(*FHistory.FDocument);
  }
  const std::shared_ptr<TSpriteStep>& Step() const { return FStep; }

 private:
  TSpriteHistory& FHistory;
  std::shared_ptr<TSpriteStep> FStep;
  bool FPushed = true;
};

void TSpriteHistory::Push(std::shared_ptr<TSpriteStep> Step) {
  FStack.push(new TStepCommand(*this, std::move(Step)));
}

const TSpriteHistory::TStepCommand& TSpriteHistory::StepAt(int Index) const {
  return static_cast<const TStepCommand&>(*FStack.command(Index));
}

void TSpriteHistory::Record(std::unique_ptr<TSpriteStep> Step) {
  Push(std::move(Step));
  if (Bytes() > FByteLimit) DropOldest();
}

std::size_t TSpriteHistory::Bytes() const {
  std::size_t Bytes = 0;
  for (int I = 0; I < FStack.count(); ++I) Bytes += StepAt(I).Step()->Bytes();
  return Bytes;
}

// The stack drops no single command, and takes a count limit only while empty: it is built
// again from the steps kept. Just after a push every step on it is done.
void TSpriteHistory::DropOldest() {
  std::vector<std::shared_ptr<TSpriteStep>> Kept;
  std::size_t Bytes = 0;
  for (int I = FStack.count() - 1; I >= 0; --I) {
    const std::shared_ptr<TSpriteStep>& Step = StepAt(I).Step();
    if (Bytes + Step->Bytes() > FByteLimit) break;
    Bytes += Step->Bytes();
    Kept.push_back(Step);
  }
  std::reverse(Kept.begin(), Kept.end());
  // Where the clean point falls among the steps kept; below 0 when it went with the dropped
  // ones (or was already out of reach).
  const int Clean = FStack.cleanIndex() < 0
                        ? -1
                        : FStack.cleanIndex() - (FStack.count() - static_cast<int>(Kept.size()));
  FStack.clear();
  if (Clean < 0) FStack.resetClean();
  for (std::size_t I = 0; I < Kept.size(); ++I) {
    Push(Kept[I]);
    if (static_cast<int>(I) + 1 == Clean) FStack.setClean();
  }
}

TDocumentChange TSpriteHistory::Undo() {
  FStack.undo();
  return FLastChange;
}

TDocumentChange TSpriteHistory::Redo() {
  FStack.redo();
  return FLastChange;
}

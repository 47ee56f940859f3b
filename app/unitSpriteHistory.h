#pragma once
// The document's undo history on Qt's undo stack. Each step holds exactly the sprites it needs
// to turn the document back and forth, and the history holds at most ByteLimit bytes of their
// pixels: past it, the oldest steps are dropped.

#include <QString>
#include <QUndoStack>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "sprites/unitS16Handler.h"

// What a step, done or undone, just changed in the document.
struct TDocumentChange {
  enum class TKind { Replaced, Moved };
  TKind Kind = TKind::Replaced;
  int Index = 0;     // the first sprite replaced, or the sprite moved
  int Removed = 0;   // Replaced: sprites taken out at Index
  int Inserted = 0;  // Replaced: sprites now at Index in their place
  int To = 0;        // Moved: where the sprite now is
};

// Where the sprite at Index is after Change; -1 when it is gone.
int IndexAfter(const TDocumentChange& Change, int Index);

using TSpriteRun = std::vector<std::unique_ptr<TS16Sprite>>;

// A change that undoes itself: each Toggle turns the document to the other side of it.
class TSpriteStep {
 public:
  explicit TSpriteStep(QString Text) : FText(std::move(Text)) {}
  virtual ~TSpriteStep() = default;
  const QString& Text() const { return FText; }
  virtual TDocumentChange Toggle(TS16File& File) = 0;
  // The pixel bytes the step holds, on whichever side it is.
  virtual std::size_t Bytes() const = 0;

 private:
  QString FText;
};

// At Index, the run Removed became the Inserted sprites now in the document.
class TReplaceStep : public TSpriteStep {
 public:
  TReplaceStep(QString Text, const TS16File& File, int Index, TSpriteRun Removed, int Inserted);
  TDocumentChange Toggle(TS16File& File) override;
  std::size_t Bytes() const override { return FBytes; }

 private:
  int FIndex;
  TSpriteRun FHeld;  // the side not in the document
  int FInDocument;
  std::size_t FBytes;
};

// A sprite moved from one place to another.
class TMoveStep : public TSpriteStep {
 public:
  TMoveStep(QString Text, int From, int To) : TSpriteStep(std::move(Text)), FFrom(From), FTo(To) {}
  TDocumentChange Toggle(TS16File& File) override;
  std::size_t Bytes() const override { return 0; }

 private:
  int FFrom;
  int FTo;
};

class TSpriteHistory {
 public:
  static constexpr std::size_t DefaultByteLimit = std::size_t(256) << 20;

  // Steps act on whatever document Document holds when they are undone or redone.
  explicit TSpriteHistory(std::unique_ptr<TS16File>& Document) : FDocument(Document) {}

  // Adds a step whose change the document already shows.
  void Record(std::unique_ptr<TSpriteStep> Step);
  // Emptied, the history is clean: it holds the document as it was just read or made.
  void Clear() { FStack.clear(); }
  // Marks this point of the history as the one where the document equals its file.
  void SetClean() { FStack.setClean(); }
  bool IsClean() const { return FStack.isClean(); }
  // Each returns the change it made.
  TDocumentChange Undo();
  TDocumentChange Redo();
  bool CanUndo() const { return FStack.canUndo(); }
  bool CanRedo() const { return FStack.canRedo(); }
  QString UndoText() const { return FStack.undoText(); }
  QString RedoText() const { return FStack.redoText(); }
  int Count() const { return FStack.count(); }
  std::size_t Bytes() const;

  std::size_t ByteLimit() const { return FByteLimit; }
  void SetByteLimit(std::size_t Limit) { FByteLimit = Limit; }

 private:
  class TStepCommand;
  // Keeps the newest steps that fit in the limit, all of them done, and the clean point when
  // it is among them.
  void DropOldest();
  void Push(std::shared_ptr<TSpriteStep> Step);
  const TStepCommand& StepAt(int Index) const;

  std::unique_ptr<TS16File>& FDocument;
  QUndoStack FStack;
  std::size_t FByteLimit = DefaultByteLimit;
  TDocumentChange FLastChange;
};

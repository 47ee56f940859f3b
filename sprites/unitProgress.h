#pragma once
// How long loops report how far they are: before item I of N (N > 1) the percentage
// round(I / (N - 1) x 100), ties to even. The main window shows it; tests record it.

class IProgressReport {
 public:
  virtual ~IProgressReport() = default;
  virtual void SetProgress(int Percent) = 0;
};

class TNoProgress : public IProgressReport {
 public:
  void SetProgress(int) override {}
};

int LoopPercent(int Index, int Count);

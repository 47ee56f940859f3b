#pragma once
// Window services for batch work: message boxes go to standard error and are answered with
// their first button.

#include "platform/unitWindowServices.h"

class TConsoleWindowServices : public IWindowServices {
 public:
  TMsgResult MessageBox(const TMessageBoxRequest& Request) override;
  void ProcessMessages() override {}
  void Terminate() override { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

 private:
  bool FTerminated = false;
};

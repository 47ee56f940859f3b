#pragma once
// Window services for batch work: message boxes go to standard error, after the program's
// name, and are answered with their first button.

#include "platform/unitWindowServices.h"

#include <string>

class TConsoleWindowServices : public IWindowServices {
 public:
  explicit TConsoleWindowServices(std::string Program) : FProgram(std::move(Program)) {}
  TMsgResult MessageBox(const TMessageBoxRequest& Request) override;
  void ProcessMessages() override {}
  void Terminate() override { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

 private:
  std::string FProgram;
  bool FTerminated = false;
};

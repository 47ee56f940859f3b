#pragma once
// Window services for tests: answers message boxes from a queue (OK when the queue is empty)
// and records every box shown, so a test reads like the user's session.

#include <deque>
#include <vector>

#include "platform/unitWindowServices.h"

class TScriptedWindowServices : public IWindowServices {
 public:
  std::deque<TMsgResult> Answers;
  std::vector<TMessageBoxRequest> Shown;
  int PumpCount = 0;
  bool Terminated = false;

  TMsgResult MessageBox(const TMessageBoxRequest& Request) override {
    Shown.push_back(Request);
    if (Answers.empty()) return TMsgResult::Ok;
    const TMsgResult Answer = Answers.front();
    Answers.pop_front();
    return Answer;
  }
  void ProcessMessages() override { ++PumpCount; }
  void Terminate() override { Terminated = true; }
};

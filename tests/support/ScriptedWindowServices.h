#pragma once
// Window services for tests: answers message boxes from a queue (OK when the queue is empty)
// and records every box shown, so a test reads like the user's session.

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

#include "platform/unitWindowServices.h"

// The scripted message boxes and pumping, for any interface built on the window services.
template <class TServices>
class TScriptedMessages : public TServices {
 public:
  std::deque<TMsgResult> Answers;
  std::vector<TMessageBoxRequest> Shown;
  int PumpCount = 0;
  // Runs at every pump: where a test watches the window as the user would see it.
  std::function<void()> OnPump;
  bool Terminated = false;

  TMsgResult MessageBox(const TMessageBoxRequest& Request) override {
    Shown.push_back(Request);
    if (Answers.empty()) return TMsgResult::Ok;
    const TMsgResult Answer = Answers.front();
    Answers.pop_front();
    return Answer;
  }
  void ProcessMessages() override {
    ++PumpCount;
    if (OnPump) OnPump();
  }
  void Terminate() override { Terminated = true; }
};

class TScriptedWindowServices : public TScriptedMessages<IWindowServices> {};

// A failed expectation shows the box's words, not its bytes.
inline void PrintTo(const TMessageBoxRequest& Request, std::ostream* Out) {
  *Out << '"' << Request.Text << "\" captioned \"" << Request.Caption << '"';
  if (!Request.Detail.empty()) *Out << ", detail \"" << Request.Detail << '"';
}

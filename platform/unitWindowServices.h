#pragma once
// What the commands need from the windowing platform, as one interface: the editor hands
// them the Qt implementation, the tests a scripted one, pelbrook-tool a console one.

#include <string>

enum class TMsgButtons { Ok, YesNo, YesNoCancel };
enum class TMsgIcon { None, Stop, Question, Exclamation, Information };
enum class TMsgResult { Ok, Yes, No, Cancel };

struct TMessageBoxRequest {
  std::string Text;
  std::string Caption;
  TMsgButtons Buttons = TMsgButtons::Ok;
  TMsgIcon Icon = TMsgIcon::None;
  bool DefaultSecondButton = false;
  // Why it happened, for the user who asks: shown apart from the text, which stays as it is.
  std::string Detail = {};
  friend bool operator==(const TMessageBoxRequest&, const TMessageBoxRequest&) = default;
};

class IWindowServices {
 public:
  virtual ~IWindowServices() = default;
  // Modal; returns the button the user chose.
  virtual TMsgResult MessageBox(const TMessageBoxRequest& Request) = 0;
  // Handles every pending window message, then returns.
  virtual void ProcessMessages() = 0;
  // Asks the application to end once the running command has returned.
  virtual void Terminate() = 0;
};

#include "platform/unitConsoleWindowServices.h"

#include <iostream>

TMsgResult TConsoleWindowServices::MessageBox(const TMessageBoxRequest& Request) {
  std::cerr << Request.Caption << ": " << Request.Text << '\n';
  return Request.Buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Yes;
}

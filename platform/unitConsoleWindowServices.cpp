#include "platform/unitConsoleWindowServices.h"

#include <iostream>

TMsgResult TConsoleWindowServices::MessageBox(const TMessageBoxRequest& Request) {
  std::cerr << FProgram << ": " << Request.Caption << ": " << Request.Text;
  if (!Request.Detail.empty()) std::cerr << ": " << Request.Detail;
  std::cerr << '\n';
  return Request.Buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Yes;
}

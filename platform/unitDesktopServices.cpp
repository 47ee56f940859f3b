#include "platform/unitDesktopServices.h"

#include <filesystem>

std::string IDesktopServices::ApplicationTitle() {
  return std::filesystem::path(ProgramFilePath()).stem().string();
}

void ShowException(IDesktopServices& Services, const std::exception& Error) {
  Services.MessageBox({Error.what(), Services.ApplicationTitle(), TMsgButtons::Ok, TMsgIcon::Stop});
}

#include "platform/unitDesktopServices.h"

#include <filesystem>

#include "platform/unitErrorReason.h"

std::string IDesktopServices::ApplicationTitle() {
  return std::filesystem::path(ProgramFilePath()).stem().string();
}

void ShowException(IDesktopServices& Services, const std::exception& Error) {
  Services.MessageBox({ErrorMessage(Error), Services.ApplicationTitle(), TMsgButtons::Ok,
                       TMsgIcon::Stop, false, ErrorReason(Error)});
}

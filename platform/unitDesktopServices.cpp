#include "platform/unitDesktopServices.h"

#include <filesystem>

#include "platform/unitErrorReason.h"

std::string IDesktopServices::ProgramDataFilePath(const std::string& Name) {
  const std::filesystem::path Folder = std::filesystem::path(ProgramFilePath()).parent_path();
  const std::filesystem::path Beside = Folder / Name;
  const std::filesystem::path Installed = Folder / PELBROOK_INSTALLED_DATA_FOLDER / Name;
  std::error_code Ignored;
  if (!std::filesystem::exists(Beside, Ignored) && std::filesystem::exists(Installed, Ignored))
    return Installed.lexically_normal().string();
  return Beside.string();
}

std::string IDesktopServices::ApplicationTitle() {
  return std::filesystem::path(ProgramFilePath()).stem().string();
}

void ShowException(IDesktopServices& Services, const std::exception& Error) {
  Services.MessageBox({ErrorMessage(Error), Services.ApplicationTitle(), TMsgButtons::Ok,
                       TMsgIcon::Stop, false, ErrorReason(Error)});
}

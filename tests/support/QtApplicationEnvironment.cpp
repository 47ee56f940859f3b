// The one application object of the test binary, made before the first test and gone after
// the last. It is the editor's own, so errors escaping a handler take the editor's path.

#include <gtest/gtest.h>

#include <memory>

#include "platform/qt/unitPelbrookApplication.h"

namespace {

class TQtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    // Tests answer their dialogs by code; none should open on a developer's desktop.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    FApplication = std::make_unique<TPelbrookApplication>(FArgc, FArgv);
  }
  void TearDown() override { FApplication.reset(); }

 private:
  int FArgc = 1;
  char FProgramName[15] = "pelbrook_tests";
  char* FArgv[2] = {FProgramName, nullptr};
  std::unique_ptr<TPelbrookApplication> FApplication;
};

[[maybe_unused]] const testing::Environment* const Registered =
    testing::AddGlobalTestEnvironment(new TQtApplicationEnvironment);

}  // namespace

// The desktop services on Qt and the application object: message boxes as asked for and
// answered, the end of the application, the clipboard's formats, sound that never waits or
// fails loudly, and errors escaping a handler.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAudioDevice>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMediaDevices>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "platform/qt/unitPelbrookApplication.h"
#include "platform/qt/unitQtDesktopServices.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ScriptedDesktopServices.h"
#include "tests/support/TempDir.h"

namespace {

class QtDesktopServices : public testing::Test {
 protected:
  TTempDir Dir;
  TQtDesktopServices Services{Dir.File("preferences.reg")};
};

struct TBoxCase {
  const char* Name;
  TMessageBoxRequest Request;
  QMessageBox::Icon Icon;
  QMessageBox::StandardButtons Buttons;
  QMessageBox::StandardButton Default;
  QMessageBox::StandardButton Escape;
  QMessageBox::StandardButton Clicked;  // NoButton: the user presses Pressed
  TMsgResult Answer;
  Qt::Key Pressed = Qt::Key_Escape;
};

class QtMessageBox : public QtDesktopServices, public testing::WithParamInterface<TBoxCase> {};

TEST_P(QtMessageBox, ShowsTheRequestAndReturnsTheAnswer) {
  const TBoxCase& Case = GetParam();
  TModalAnswerer Answers;
  Answers.Answer<QMessageBox>([&](QMessageBox& Box) {
    EXPECT_EQ(Box.windowTitle().toStdString(), Case.Request.Caption);
    EXPECT_EQ(Box.text().toStdString(), Case.Request.Text);
    EXPECT_EQ(Box.textFormat(), Qt::PlainText);
    EXPECT_EQ(Box.icon(), Case.Icon);
    EXPECT_EQ(Box.standardButtons(), Case.Buttons);
    EXPECT_EQ(Box.defaultButton(), Box.button(Case.Default));
    EXPECT_EQ(Box.escapeButton(), Box.button(Case.Escape));
    EXPECT_EQ(Box.informativeText().toStdString(), Case.Request.Detail);
    EXPECT_TRUE(Box.detailedText().isEmpty());
    for (const QLabel* Label : Box.findChildren<QLabel*>())
      EXPECT_EQ(Label->textFormat(), Qt::PlainText) << Label->text().toStdString();
    EXPECT_EQ(Box.focusWidget(), Box.defaultButton());
    if (Case.Clicked != QMessageBox::NoButton) {
      Box.button(Case.Clicked)->click();
      return;
    }
    // Keys go where the user's would: to the button with the focus.
    QKeyEvent Key(QEvent::KeyPress, Case.Pressed, Qt::NoModifier);
    QCoreApplication::sendEvent(Box.focusWidget() ? Box.focusWidget() : &Box, &Key);
  });
  EXPECT_EQ(Services.MessageBox(Case.Request), Case.Answer);
}

using Button = QMessageBox::StandardButton;
INSTANTIATE_TEST_SUITE_P(
    Qt, QtMessageBox,
    testing::Values(
        TBoxCase{"OkStop",
                 {"Sprite <1> is damaged", "The Pelbrook", TMsgButtons::Ok, TMsgIcon::Stop},
                 QMessageBox::Critical,
                 Button::Ok,
                 Button::Ok,
                 Button::Ok,
                 Button::NoButton,
                 TMsgResult::Ok},
        // No second button to make the default.
        TBoxCase{"OkWithNoSecondButton",
                 {"Done", "Pelbrook", TMsgButtons::Ok, TMsgIcon::Information, true},
                 QMessageBox::Information,
                 Button::Ok,
                 Button::Ok,
                 Button::Ok,
                 Button::Ok,
                 TMsgResult::Ok},
        TBoxCase{"YesNoEscaped",
                 {"Replace?", "The Pelbrook", TMsgButtons::YesNo, TMsgIcon::Exclamation},
                 QMessageBox::Warning,
                 Button::Yes | Button::No,
                 Button::Yes,
                 Button::No,
                 Button::NoButton,
                 TMsgResult::No},
        TBoxCase{"YesNoCancelDefaultNo",
                 {"Save?", "The Pelbrook", TMsgButtons::YesNoCancel, TMsgIcon::Question, true},
                 QMessageBox::Question,
                 Button::Yes | Button::No | Button::Cancel,
                 Button::No,
                 Button::Cancel,
                 Button::Yes,
                 TMsgResult::Yes},
        TBoxCase{"YesNoCancelEscaped",
                 {"Keep?", "", TMsgButtons::YesNoCancel, TMsgIcon::None},
                 QMessageBox::NoIcon,
                 Button::Yes | Button::No | Button::Cancel,
                 Button::Yes,
                 Button::Cancel,
                 Button::NoButton,
                 TMsgResult::Cancel},
        // The reason stands in sight, as words even where they look like markup.
        TBoxCase{"DetailInSightAndEnterAnswersOk",
                 {"Unable to save to: /art/<b>.s16", "pelbrook", TMsgButtons::Ok, TMsgIcon::Stop,
                  false, "No space left on <i>device</i>"},
                 QMessageBox::Critical,
                 Button::Ok,
                 Button::Ok,
                 Button::Ok,
                 Button::NoButton,
                 TMsgResult::Ok,
                 Qt::Key_Return}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// A window that refuses to close, as the editor's does while the user keeps unsaved work.
class TRefusingWindow : public QWidget {
 public:
  int CloseRequests = 0;

 protected:
  void closeEvent(QCloseEvent* Event) override {
    ++CloseRequests;
    Event->ignore();
  }
};

TEST_F(QtDesktopServices, TerminateEndsTheLoopOnceControlReturnsToIt) {
  TRefusingWindow Window;
  Window.show();
  QTimer Guard;
  Guard.setSingleShot(true);
  QObject::connect(&Guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  Guard.start(5000);
  Services.Terminate();
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_EQ(Window.CloseRequests, 0);
}

TEST_F(QtDesktopServices, ClipboardOffersAPaletteOnlyWithAPaletteImage) {
  QClipboard& Clipboard = *QGuiApplication::clipboard();
  Clipboard.setText("not a picture");
  EXPECT_FALSE(Services.ClipboardHasFormat(TClipboardFormat::Bitmap));
  EXPECT_FALSE(Services.ClipboardHasFormat(TClipboardFormat::Palette));

  Clipboard.setImage(QImage(4, 3, QImage::Format_RGB32));
  EXPECT_TRUE(Services.ClipboardHasFormat(TClipboardFormat::Bitmap));
  EXPECT_FALSE(Services.ClipboardHasFormat(TClipboardFormat::Palette));

  QImage Indexed(4, 3, QImage::Format_Indexed8);
  Indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 255)});
  Clipboard.setImage(Indexed);
  EXPECT_TRUE(Services.ClipboardHasFormat(TClipboardFormat::Bitmap));
  EXPECT_TRUE(Services.ClipboardHasFormat(TClipboardFormat::Palette));
  Clipboard.clear();
}

TEST_F(QtDesktopServices, SoundNeverWaitsNorFailsLoudly) {
  const std::string Missing = Dir.File("cutter.wav");
  // With a sound device the first one loads, and loading counts as playing; without one there
  // is nothing to play on, and nothing to wait for.
  const bool Device = !QMediaDevices::audioOutputs().isEmpty();
  Services.PlaySound(Missing);
  EXPECT_EQ(Services.PlaySound(Missing), !Device);
  QEventLoop Loading;
  QTimer::singleShot(200, &Loading, &QEventLoop::quit);
  Loading.exec();
  EXPECT_EQ(Services.PlaySound(Missing), !Device);
}

TEST_F(QtDesktopServices, ProgramFilePathIsTheRunningBinary) {
  EXPECT_EQ(std::filesystem::path(Services.ProgramFilePath()).filename(), "pelbrook_tests");
  EXPECT_EQ(Services.ApplicationTitle(), "pelbrook_tests");
}

class QtApplication : public testing::Test {
 protected:
  QtApplication()
      : Application(*qobject_cast<TPelbrookApplication*>(QCoreApplication::instance())) {}
  ~QtApplication() override { Application.SetServices(nullptr); }

  TPelbrookApplication& Application;
  TTempDir Dir;
};

TEST_F(QtApplication, ErrorEscapingAHandlerIsShownAndTheLoopGoesOn) {
  TScriptedDesktopServices Services(Dir.File("preferences.reg"));
  Application.SetServices(&Services);
  QEventLoop Loop;
  QTimer::singleShot(0, [] { throw std::runtime_error("Sprite file is damaged"); });
  QTimer::singleShot(0, &Loop, &QEventLoop::quit);
  QTimer::singleShot(5000, &Loop, [&Loop] { Loop.exit(1); });
  EXPECT_EQ(Loop.exec(), 0);
  EXPECT_EQ(Services.Shown, std::vector<TMessageBoxRequest>({{"Sprite file is damaged", "pelbrook",
                                                              TMsgButtons::Ok, TMsgIcon::Stop}}));
}

TEST_F(QtApplication, WithoutServicesTheErrorGoesToStandardError) {
  testing::internal::CaptureStderr();
  QTimer::singleShot(0, [] { throw std::runtime_error("Out of sprites"); });
  QCoreApplication::processEvents();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Out of sprites\n");
}

}  // namespace

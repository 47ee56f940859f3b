// The file dialogs as a user drives them: filters converted from the component's string, the
// filter and name the dialog opens with, a filter change that runs the type-change handler
// and changes the extension a typed name gets, and what confirmation and cancel leave.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <filesystem>
#include <fstream>

#include "platform/qt/unitQtDesktopServices.h"
#include "platform/qt/unitQtFileFilter.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/TempDir.h"

namespace {

const std::string OpenFilter =
    "Tamblings 2 Sprite Files (*.s16)|*.s16|Tamblings 1 Sprite Files (*.spr)|*.spr";
const std::string SaveFilter =
    "Tamblings 2 Sprite Files 16bit format  (*.s16)|*.s16|Tamblings 2 Sprite Files 15bit format  "
    "(*.s16)|*.s16|Tamblings 1 Sprite Files (*.spr)|*.spr";

TEST(QtFileFilter, PairsBecomeNameFiltersShowingTheirPatterns) {
  EXPECT_EQ(NameFiltersFromFilter(OpenFilter),
            QStringList({"Tamblings 2 Sprite Files (*.s16)", "Tamblings 1 Sprite Files (*.spr)"}));
  EXPECT_EQ(NameFiltersFromFilter(SaveFilter),
            QStringList({"Tamblings 2 Sprite Files 16bit format  (*.s16)",
                         "Tamblings 2 Sprite Files 15bit format  (*.s16)",
                         "Tamblings 1 Sprite Files (*.spr)"}));
  EXPECT_EQ(NameFiltersFromFilter("Bitmaps (*.bmp)|*.bmp"), QStringList({"Bitmaps (*.bmp)"}));
  EXPECT_EQ(NameFiltersFromFilter("All|*.bmp;*.dib"), QStringList({"All (*.bmp *.dib)"}));
}

// The handlers of the sprite dialogs: the extension follows the filter.
struct TTypeChanges {
  int SprIndexFrom;  // this filter and the ones after it are .spr
  std::vector<int> Seen;
  void operator()(TFileDialog& Dialog) {
    Seen.push_back(Dialog.FilterIndex);
    Dialog.DefaultExt = Dialog.FilterIndex >= SprIndexFrom ? "spr" : "s16";
  }
};

TFileDialog SpriteDialog(TFileDialogKind Kind, TTypeChanges& Changes) {
  TFileDialog Dialog;
  Dialog.Kind = Kind;
  Dialog.Filter = Kind == TFileDialogKind::Open ? OpenFilter : SaveFilter;
  Dialog.DefaultExt = "s16";
  Dialog.HideReadOnly = true;
  Dialog.PathMustExist = true;
  Dialog.FileMustExist = Kind == TFileDialogKind::Open;
  Dialog.OverwritePrompt = Kind == TFileDialogKind::Save;
  Dialog.OnTypeChange = [&Changes](TFileDialog& Shown) { Changes(Shown); };
  return Dialog;
}

// As the user does it: the filter box has the focus and the arrow key moves to the next filter.
void PickNextFilter(QFileDialog& Box) {
  auto* Types = Box.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(Types, nullptr);
  QKeyEvent Down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(Types, &Down);
}

void TypeName(QFileDialog& Box, const QString& Name) {
  auto* Edit = Box.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(Edit, nullptr);
  Edit->setText(Name);
}

// The dialog lists its folder in the background and offers Open only for a file it has listed,
// as a user sees it once the list has filled.
void WaitUntilListed(QFileDialog& Box, const std::string& Path) {
  auto* Files = Box.findChild<QFileSystemModel*>();
  ASSERT_NE(Files, nullptr);
  QDeadlineTimer Deadline(5000);
  while (!Files->index(QString::fromStdString(Path)).isValid() && !Deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_TRUE(Files->index(QString::fromStdString(Path)).isValid());
}

void Press(QFileDialog& Box, QDialogButtonBox::StandardButton Which) {
  auto* Buttons = Box.findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_NE(Buttons, nullptr);
  ASSERT_NE(Buttons->button(Which), nullptr);
  Buttons->button(Which)->click();
}

void Touch(const std::string& Path) {
  std::ofstream{Path};
}

class QtFileDialog : public testing::Test {
 protected:
  TTempDir Dir;
  TQtDesktopServices Services{Dir.File("preferences.reg")};
  TModalAnswerer Answers;
};

TEST_F(QtFileDialog, SaveOpensAsLeftAndATypedNameGetsThePickedFiltersExtension) {
  TTypeChanges Changes{3, {}};
  TFileDialog Dialog = SpriteDialog(TFileDialogKind::Save, Changes);
  Dialog.FilterIndex = 2;
  Dialog.FileName = Dir.File("last.s16");
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    EXPECT_TRUE(Box.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(Box.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(Box.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(Box.nameFilters().size(), 3);
    // Shown as written, with both blanks before "(*.s16)".
    auto* Types = Box.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(Types, nullptr);
    EXPECT_EQ(Types->currentIndex(), 1);
    EXPECT_EQ(Types->itemText(0), "Tamblings 2 Sprite Files 16bit format  (*.s16)");
    EXPECT_EQ(Box.directory().absolutePath().toStdString(), Dir.Path().string());
    EXPECT_EQ(Box.findChild<QLineEdit*>("fileNameEdit")->text(), "last.s16");
    EXPECT_EQ(Box.defaultSuffix(), "s16");
    PickNextFilter(Box);
    EXPECT_EQ(Changes.Seen, std::vector<int>({3}));
    EXPECT_EQ(Box.defaultSuffix(), "spr");
    TypeName(Box, "hero");
    Press(Box, QDialogButtonBox::Save);
  });
  ASSERT_TRUE(Services.ExecuteFileDialog(Dialog));
  EXPECT_EQ(Dialog.FileName, Dir.File("hero.spr"));
  EXPECT_EQ(Dialog.FilterIndex, 3);
  EXPECT_EQ(Dialog.DefaultExt, "spr");
}

TEST_F(QtFileDialog, OpenFindsTheTypedNameWithThePickedFiltersExtension) {
  Touch(Dir.File("hero.spr"));
  TTypeChanges Changes{2, {}};
  TFileDialog Dialog = SpriteDialog(TFileDialogKind::Open, Changes);
  Dialog.FilterIndex = 7;  // out of range: the first filter
  Dialog.FileName = Dir.File("last.s16");
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    EXPECT_EQ(Box.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(Box.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(Box.selectedNameFilter(), "Tamblings 2 Sprite Files (*.s16)");
    PickNextFilter(Box);
    EXPECT_EQ(Changes.Seen, std::vector<int>({2}));
    WaitUntilListed(Box, Dir.File("hero.spr"));
    TypeName(Box, "hero");
    Press(Box, QDialogButtonBox::Open);
  });
  ASSERT_TRUE(Services.ExecuteFileDialog(Dialog));
  EXPECT_EQ(Dialog.FileName, Dir.File("hero.spr"));
  EXPECT_EQ(Dialog.FilterIndex, 2);
}

TEST_F(QtFileDialog, CancelKeepsThePickedFilterForTheNextShowingButNotTheTypedName) {
  TTypeChanges Changes{3, {}};
  TFileDialog Dialog = SpriteDialog(TFileDialogKind::Save, Changes);
  Dialog.FileName = Dir.File("last.s16");
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    PickNextFilter(Box);
    PickNextFilter(Box);
    TypeName(Box, "other");
    Press(Box, QDialogButtonBox::Cancel);
  });
  EXPECT_FALSE(Services.ExecuteFileDialog(Dialog));
  EXPECT_EQ(Changes.Seen, std::vector<int>({2, 3}));
  EXPECT_EQ(Dialog.FilterIndex, 3);
  EXPECT_EQ(Dialog.DefaultExt, "spr");
  EXPECT_EQ(Dialog.FileName, Dir.File("last.s16"));
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    EXPECT_EQ(Box.selectedNameFilter(), "Tamblings 1 Sprite Files (*.spr)");
    EXPECT_EQ(Box.defaultSuffix(), "spr");
    Press(Box, QDialogButtonBox::Cancel);
  });
  EXPECT_FALSE(Services.ExecuteFileDialog(Dialog));
}

TEST_F(QtFileDialog, ATypedExtensionPicksTheFilterAndOverwritingIsAskedOfTheFileWritten) {
  Touch(Dir.File("hero.backup.s16"));
  std::filesystem::create_directory(Dir.File("art.v2"));
  TTypeChanges Changes{3, {}};
  TFileDialog Dialog = SpriteDialog(TFileDialogKind::Save, Changes);
  Dialog.ExtensionPicksFilter = true;
  Dialog.Title = "Save As";
  Dialog.InitialDir = Dir.Path().string();
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    EXPECT_EQ(Box.windowTitle(), "Save As");
    EXPECT_EQ(Box.directory().absolutePath().toStdString(), Dir.Path().string());
    TypeName(Box, "art.v2");
    Press(Box, QDialogButtonBox::Save);
    EXPECT_EQ(Box.directory().absolutePath().toStdString(), Dir.File("art.v2"));
    Box.setDirectory(QString::fromStdString(Dir.Path().string()));
    TypeName(Box, "hero.backup");
    Press(Box, QDialogButtonBox::Save);
    EXPECT_TRUE(Box.isVisible());
    // Back in the name box, where typing leaves only the typed name selected.
    QApplication::setActiveWindow(&Box);
    Box.findChild<QLineEdit*>("fileNameEdit")->setFocus();
    TypeName(Box, "trap.spr");
    Press(Box, QDialogButtonBox::Save);
  });
  Answers.Answer<QMessageBox>([](QMessageBox& Question) {
    EXPECT_TRUE(Question.text().contains("hero.backup.s16 already exists"))
        << Question.text().toStdString();
    Question.button(QMessageBox::No)->click();
  });
  ASSERT_TRUE(Services.ExecuteFileDialog(Dialog));
  EXPECT_EQ(Dialog.FileName, Dir.File("trap.spr"));
  EXPECT_EQ(Dialog.FilterIndex, 3);
  EXPECT_EQ(Changes.Seen, std::vector<int>({3}));
  EXPECT_EQ(Dialog.DefaultExt, "spr");
}

// An environment variable set for the life of the object.
class TVariableOverride {
 public:
  TVariableOverride(const char* Name, const std::string& Value)
      : FName(Name), FWasSet(qEnvironmentVariableIsSet(Name)), FOld(qgetenv(Name)) {
    qputenv(Name, QByteArray::fromStdString(Value));
  }
  ~TVariableOverride() { FWasSet ? qputenv(FName, FOld) : qunsetenv(FName); }
  TVariableOverride(const TVariableOverride&) = delete;
  TVariableOverride& operator=(const TVariableOverride&) = delete;

 private:
  const char* FName;
  bool FWasSet;
  QByteArray FOld;
};

TEST_F(QtFileDialog, ADialogLeavesNothingInTheUsersConfiguration) {
  {
    const TVariableOverride ConfigHome("XDG_CONFIG_HOME", Dir.File("config"));
    const TVariableOverride Home("HOME", Dir.Path().string());
    TTypeChanges Changes{2, {}};
    TFileDialog Dialog = SpriteDialog(TFileDialogKind::Open, Changes);
    Answers.Answer<QFileDialog>([&](QFileDialog& Box) { Press(Box, QDialogButtonBox::Cancel); });
    Services.ExecuteFileDialog(Dialog);
  }
  EXPECT_EQ(Dir.Entries(), std::vector<std::string>{});
  // Wherever this process's Qt settings live, the dialog stored nothing there.
  EXPECT_TRUE(QSettings(QSettings::UserScope, "QtProject").allKeys().isEmpty());
}

TEST_F(QtFileDialog, SaveRefusesAFolderThatDoesNotExistAndStaysOpen) {
  TTypeChanges Changes{3, {}};
  TFileDialog Dialog = SpriteDialog(TFileDialogKind::Save, Changes);
  Dialog.FileName = Dir.File("last.s16");
  Answers.Answer<QFileDialog>([&](QFileDialog& Box) {
    TypeName(Box, "missing/hero");
    Press(Box, QDialogButtonBox::Save);
    EXPECT_TRUE(Box.isVisible());
    Press(Box, QDialogButtonBox::Cancel);
  });
  Answers.Answer<QMessageBox>([](QMessageBox& Refusal) {
    EXPECT_TRUE(Refusal.text().contains("Path does not exist"));
    Refusal.button(QMessageBox::Ok)->click();
  });
  EXPECT_FALSE(Services.ExecuteFileDialog(Dialog));
}

}  // namespace

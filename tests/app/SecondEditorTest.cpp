// Two editors on one file: the second to save is asked before it replaces the first one's work,
// and No keeps both that work on disk and its own unsaved document.

#include "tests/support/WindowFixture.h"

namespace {

struct TOverwriteAnswer {
  std::string Label;
  TMsgResult Answer;
  bool Overwritten;
};

void PrintTo(const TOverwriteAnswer& Case, std::ostream* Out) {
  *Out << Case.Label;
}

class SecondEditor : public TWindowTest, public testing::WithParamInterface<TOverwriteAnswer> {};

TEST_P(SecondEditor, AsksBeforeItsSaveReplacesTheFirstOnesWork) {
  const TOverwriteAnswer& Case = GetParam();
  const std::string Path = WriteS16("shared.s16", {{4, 4}});
  Open(Path);

  TScriptedDesktopServices FirstServices{Dir.File("first.reg")};
  TPelbrookMainWindow First(FirstServices);
  FirstServices.DialogAnswers.push_back(TDialogAnswer{Path, 1});
  First.RunMenuEntry(First.MenuEntry("Open1"));
  TMainWindowProbe(First).Document().Add(MakeSprite(2, 2, TWords(4, 0x07E0)));
  First.MarkModified();
  First.RunMenuEntry(First.MenuEntry("Save1"));
  ASSERT_TRUE(FirstServices.Shown.empty());
  const TBytes FirstWork = ReadBytes(Path);

  Probe().Document().Add(MakeSprite(3, 3, TWords(9, 0x001F)));
  Window->MarkModified();
  Services.Answers.push_back(Case.Answer);
  Run("Save1");

  EXPECT_EQ(Services.Shown,
            (std::vector<TMessageBoxRequest>{
                {Path + " has been changed by another program since it was opened. Overwrite it?",
                 "The Pelbrook", TMsgButtons::YesNo, TMsgIcon::Question, true}}));
  EXPECT_EQ(ReadBytes(Path) == FirstWork, !Case.Overwritten);
  EXPECT_EQ(Probe().Modified(), !Case.Overwritten);
  EXPECT_EQ(Window->windowTitle().toStdString(),
            "The Pelbrook - [" + Path + (Case.Overwritten ? "]" : "] *"));

  // Once written, the file is this document's own again: the next save asks nothing. Left
  // alone, it is still the other program's.
  Services.Shown.clear();
  Services.Answers.push_back(TMsgResult::No);
  Run("Save1");
  EXPECT_EQ(Services.Shown.size(), Case.Overwritten ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Saves, SecondEditor,
                         testing::Values(TOverwriteAnswer{"Yes", TMsgResult::Yes, true},
                                         TOverwriteAnswer{"No", TMsgResult::No, false}),
                         [](const auto& Info) { return Info.param.Label; });

}  // namespace

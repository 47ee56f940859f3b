// A whole session of the editor, command after command on one document, as the suite's
// sanitizer run checks it for leaks and misuse of memory: everything a command makes is freed,
// also on the way through thumbnails, cutters and the clipboard.

#include <QTest>

#include "tests/support/SheetArt.h"
#include "tests/support/WindowFixture.h"

namespace {

using EditorSession = TWindowTest;

TEST_F(EditorSession, OpenImportExportCopyPasteExpandCutManuallyAndSave) {
  TS16File Start;
  Start.Add(DrawSheet({".....", ".AA..", ".AA..", "...B.", "....."}));
  Start.Add(DrawSheet({"......", ".CC.D.", "......"}));
  Start.SaveToFile(Dir.File("start.s16"));
  Open(Dir.File("start.s16"));
  const TMainWindowProbe P = Probe();

  P.SelectItem(0);
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("first"), 3});
  Run("ExportTo1");
  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("first.bmp"), 0});
  Run("ImportFrom1");
  P.SelectItem(1);
  Run("Copy1");
  Run("Paste1");
  P.SelectItem(3);
  Run("PasteOver1");

  Window->MarkClean();
  P.SelectItem(0);
  Services.Answers = {TMsgResult::Yes};
  Window->ExpandSprite1Click();
  P.SelectItem(P.Document().Count() - 1);
  Services.WaitSteps = {[&] {
                          QTest::mousePress(&P.ManualClipper(), Qt::LeftButton, {}, {1, 1});
                          QTest::mouseRelease(&P.ManualClipper(), Qt::LeftButton, {}, {1, 1});
                        },
                        [&] { Window->Finish1Click(); }};
  Services.Answers = {TMsgResult::No};
  Window->ExpandManualClick();

  Services.DialogAnswers.push_back(TDialogAnswer{Dir.File("end"), 1});
  Run("SaveAs1");
  TS16File End;
  End.LoadFromFile(Dir.File("end.s16"));
  EXPECT_EQ(End.Count(), P.Document().Count());
  EXPECT_EQ(End.Count(), 5);  // A and B of both sheets, the pasted copy, the second sheet
  EXPECT_FALSE(P.Modified());
  // Questions were asked, but nothing failed on the way.
  for (const TMessageBoxRequest& Box : Services.Shown)
    if (Box.Buttons == TMsgButtons::Ok) ADD_FAILURE() << Box.Text;
}

}  // namespace

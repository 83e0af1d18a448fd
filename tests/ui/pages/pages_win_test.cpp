// The options page, the sub-option form and the confirmation page in real windows: rows are
// clicked in and beside their boxes, keys pressed, the form answered with OK and Cancel, and
// the option model, the total, the Next button and the shown texts checked afterwards.
#include <gtest/gtest.h>

#include "ModalScript.h"
#include "PagesHost.h"
#include "SampleOptions.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "script/OptionSelection.h"
#include "system/DecimalSeparator.h"
#include "system/Drives.h"
#include "system/WinText.h"
#include "ui/DialogWindow.h"
#include "ui/SubOptionForm.h"

namespace vek {
namespace {

class PagesTest : public ::testing::Test {
 protected:
  void Start(std::unique_ptr<TMainOptionList> aOptions) {
    SetCurrentDirectoryW(L"C:\\");
    fOptions = std::move(aOptions);
    fSetup.SetInstallMode(1);
    fSetup.MainOptionList = fOptions.get();
    fSetup.SetInstallsize(fOptions->SelectedSize());
    ASSERT_TRUE(fHost.Create("Vek pages")) << "no window: the Windows tests need a display";
    fHost.ShowOptions();
    ShowWindow(fHost.Window(), SW_SHOW);
    PumpMessages();
  }
  void SetUp() override { Start(SampleOptions()); }

  HWND Page() { return fHost.Options().Handle(); }
  HWND List() { return GetDlgItem(Page(), idOptMainMenuListBox); }
  std::string Label(int aId) { return GetText(GetDlgItem(Page(), aId)); }
  TMainOption& Option(std::size_t aIndex) const { return *fOptions->Option(aIndex); }
  int Px(int aAt96) const { return TUiScale{fHost.Dpi()}.Px(aAt96); }
  std::vector<int> States(std::size_t aIndex) const {
    std::vector<int> states;
    for (std::size_t j = 0; j < Option(aIndex).SubOption.Count(); ++j) states.push_back(Option(aIndex).SubOptionAt(j)->State);
    return states;
  }
  // A press in the box of a row, or on its caption.
  void ClickBox(int aRow) { ClickListRow(List(), aRow, Px(10)); }
  void ClickCaption(int aRow) { ClickListRow(List(), aRow, Px(60)); }
  bool NextEnabled() const { return IsWindowEnabled(fHost.NextButton()) != FALSE; }
  std::string Kb(std::int64_t aBytes) const { return FormatKb(aBytes, UserDecimalSeparator()); }

  TRunContext fContext;
  TSetupEngine fSetup{fContext};
  std::unique_ptr<TMainOptionList> fOptions;
  TPagesHost fHost{fSetup};
};

TEST_F(PagesTest, PageShowsTheOptionsAndTheSelectedOnesDetails) {
  EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Label(idOptMainLabel), LanguageText(98));
  EXPECT_EQ(fHost.InstallToCaption(), LanguageText(42));
  EXPECT_EQ(Label(idOptGroupBox2), LanguageText(42));
  EXPECT_EQ(Label(idOptDetailLabel), "What Program installs.");
  EXPECT_EQ(Label(idOptPathEdit), "C:\\Vek\\Notes");
  EXPECT_EQ(Label(idOptSelectedLabel), "Selected 1 of 2 ");
  EXPECT_EQ(Label(idOptInstallSizeLabel), Kb(5 * kSampleGb));  // above 4 GB, no wrap
  EXPECT_EQ(Label(idOptDSLabel), LanguageText(36) + " C:");
  // The page measured C: (whose free space moves while other programs write).
  EXPECT_EQ(Label(idOptFreeDiskSizeLabel), Kb(fSetup.FreeDiskSpace()));
  EXPECT_NEAR(static_cast<double>(fSetup.FreeDiskSpace()), static_cast<double>(GetDiskFreeSpace("C:\\")),
              static_cast<double>(kSampleGb));
  EXPECT_TRUE(NextEnabled());

  ClickCaption(2);  // selects without toggling; the details follow
  EXPECT_EQ(States(2), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Label(idOptDetailLabel), "What Samples installs.");
  EXPECT_EQ(Label(idOptPathEdit), "D:\\Samples");
  EXPECT_EQ(Label(idOptSelectedLabel), "Selected 0 of 3 ");
}

TEST_F(PagesTest, BoxAndEnterToggleWholeOptions) {
  const std::int64_t program = 5 * kSampleGb;
  ClickBox(1);  // one sub-option with a file list: a subset
  EXPECT_EQ(States(1), (std::vector<int>{2}));
  EXPECT_EQ(Option(1).GetState(), 2);
  EXPECT_EQ(fSetup.Installsize(), program + 300 * 1024);
  EXPECT_EQ(Label(idOptInstallSizeLabel), Kb(program + 300 * 1024));
  EXPECT_EQ(Label(idOptSelectedLabel), "Selected 1 of 1 ");

  PressKey(List(), VK_RETURN);  // Enter toggles the selected row back
  EXPECT_EQ(States(1), (std::vector<int>{0}));
  EXPECT_EQ(fSetup.Installsize(), program);

  ClickBox(3);  // no sub-options: nothing to toggle
  EXPECT_EQ(fSetup.Installsize(), program);

  ClickBox(0);  // clearing the only selection disables Next
  EXPECT_EQ(States(0), (std::vector<int>{0, 0}));
  EXPECT_EQ(fSetup.Installsize(), 0);
  EXPECT_FALSE(NextEnabled());
  // Two sub-options, none selected: the form asks which.
  bool formShown = false;
  EXPECT_TRUE(RunWithModalSteps([&] { ClickBox(0); }, {[&](HWND aForm) {
                                   formShown = GetText(aForm) == LanguageText(38);
                                   ClickButton(aForm, "Select all");
                                   ClickButton(aForm, "Ok");
                                 }}));
  EXPECT_TRUE(formShown);
  EXPECT_EQ(States(0), (std::vector<int>{1, 2}));
  EXPECT_EQ(fSetup.Installsize(), program + 1536 * 1024);
  EXPECT_TRUE(NextEnabled());
}

TEST_F(PagesTest, FormOkWritesBackAndCancelLeavesTheOption) {
  ClickCaption(2);
  std::string formTotal;
  std::string detail;
  EXPECT_TRUE(RunWithModalSteps([&] { ClickBox(2); },
                                {[&](HWND aForm) {
                                  const HWND list = GetDlgItem(aForm, idSubMenuListBox);
                                  ClickListRow(list, 0, Px(10));
                                  ClickListRow(list, 2, Px(10));
                                  ClickListRow(list, 1, Px(60));  // selects, does not toggle
                                  detail = GetText(GetDlgItem(aForm, idSubOptionDetailLabel));
                                  formTotal = GetText(GetDlgItem(aForm, idSubInstallSizeLabel));
                                  ClickButton(aForm, "Ok");
                                }}));
  EXPECT_EQ(detail, "The part Pictures.");  // the selected row's, whatever was painted last
  const std::int64_t total = 5 * kSampleGb + 20 * 1024 + 700 * 1024;
  EXPECT_EQ(formTotal, Kb(total));
  EXPECT_EQ(States(2), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(fSetup.Installsize(), total);

  EXPECT_TRUE(RunWithModalSteps(
      [&] { SendMessageW(GetDlgItem(Page(), idOptChangeOptionBtn), BM_CLICK, 0, 0); },
      {[&](HWND aForm) {
        ClickButton(aForm, "Clear all");
        SetText(GetDlgItem(aForm, idSubSelectFilesEdit), "*.txt");
        ClickButton(aForm, "Cancel");
      }}));
  EXPECT_EQ(States(2), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(Option(2).SubOptionAt(0)->Files, "*.*");
  EXPECT_EQ(fSetup.Installsize(), total);
}

TEST_F(PagesTest, FormRefusesAnInvalidPatternAndTakesAValidOne) {
  std::string message;
  std::string filesAfterRefusal;
  EXPECT_TRUE(RunWithModalSteps(
      [&] { SendMessageW(GetDlgItem(Page(), idOptChangeOptionBtn), BM_CLICK, 0, 0); },
      {[&](HWND aForm) {
         const HWND edit = GetDlgItem(aForm, idSubSelectFilesEdit);
         SetFocus(edit);
         SetText(edit, "a|b");
         // Enter in the edit, through the form's own dialog manager.
         PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
       },
       [&](HWND aMessage) {
         message = WindowTexts(aMessage);
         ClickButton(aMessage);
       },
       [&](HWND aForm) {
         const HWND edit = GetDlgItem(aForm, idSubSelectFilesEdit);
         filesAfterRefusal = GetText(edit);
         SetText(edit, "*.exe;;*.dll");
         PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
         PostMessageW(GetDlgItem(aForm, IDOK), BM_CLICK, 0, 0);
       }}));
  EXPECT_NE(message.find("\"a|b\""), std::string::npos) << message;
  EXPECT_NE(message.find(LanguageText(109)), std::string::npos) << message;
  EXPECT_EQ(filesAfterRefusal, "a|b");  // the edit keeps it for correction
  // Row 0 was selected with all files; the new patterns make it a subset.
  EXPECT_EQ(Option(0).SubOptionAt(0)->Files, "*.exe;;*.dll");
  EXPECT_EQ(States(0), (std::vector<int>{2, 0}));
}

TEST_F(PagesTest, TypedFolderClearsTheFolderAliases) {
  ClickCaption(2);
  const HWND edit = GetDlgItem(Page(), idOptPathEdit);
  SetFocus(edit);
  SetText(edit, "E:\\Elsewhere");
  SendMessageW(edit, EM_SETMODIFY, TRUE, 0);
  SetFocus(List());
  PumpMessages();
  EXPECT_EQ(Option(2).Path, "E:\\Elsewhere");
  EXPECT_EQ(Option(2).SubOptionAt(1)->LibAlias, "");
  EXPECT_EQ(Option(0).Path, "C:\\Vek\\Notes");
}

TEST_F(PagesTest, ConfirmationListsTheSelectionWithoutWarningWhenItFits) {
  ClickBox(1);
  fHost.ShowConfirm();
  const HWND page = fHost.Confirm().Handle();
  const HWND list = GetDlgItem(page, idConFirmListBox);
  std::vector<std::string> rows;
  for (int k = 0; k < SendMessageW(list, LB_GETCOUNT, 0, 0); ++k) {
    wchar_t text[32] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(text));
    rows.push_back(Narrow(text));
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"0", "0.0", "1", "1.0"}));
  EXPECT_EQ(GetText(GetDlgItem(page, idConfirmTitle)), LanguageText(30));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, idConfirmErrorLabel)));
}

// Two folders on C: that each fit in its free space but not together: one warning naming C:.
TEST_F(PagesTest, ConfirmationSumsTheFoldersOfOneDrive) {
  const std::int64_t free = GetDiskFreeSpace("C:\\");
  ASSERT_GT(free, 0);
  const std::int64_t part = free / 10 * 6;
  Option(0).SubOptionAt(0)->Size = part;
  Option(0).SubOptionAt(1)->Size = part;
  Option(0).SubOptionAt(1)->State = 2;
  std::vector<std::string> messages;
  EXPECT_TRUE(RunWithModalSteps([&] { fHost.ShowConfirm(); }, {[&](HWND aMessage) {
                                  messages.push_back(WindowTexts(aMessage));
                                  ClickButton(aMessage);
                                }}));
  // The free space of a shared disk moves while the test runs: the texts are compared around it.
  const std::string needKb = std::to_string(2 * part / 1024);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find(" KB are free on drive C:, but " + needKb + " KB are needed."), std::string::npos)
      << messages[0];
  const HWND error = GetDlgItem(fHost.Confirm().Handle(), idConfirmErrorLabel);
  EXPECT_TRUE(IsWindowVisible(error));
  const std::string errorText = GetText(error);
  EXPECT_EQ(errorText.rfind(LanguageText(87) + "Drive C:\r\n", 0), 0u) << errorText;
  EXPECT_NE(errorText.find(" KB free, " + needKb + " KB needed. "), std::string::npos) << errorText;
}

class ManyOptionsTest : public PagesTest {
 protected:
  void SetUp() override { Start(ManyOptions(300)); }
};

TEST_F(ManyOptionsTest, ThreeHundredOptionsWithSizesAboveFourGigabytes) {
  EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 300);
  SendMessageW(List(), LB_SETCURSEL, 299, 0);
  PressKey(List(), VK_RETURN);  // the last option: its small part is cleared
  EXPECT_EQ(States(299), (std::vector<int>{0, 0}));
  // Two sub-options: Enter opens the form, where Select all adds 4 GB.
  EXPECT_TRUE(RunWithModalSteps([&] { PressKey(List(), VK_RETURN); }, {[&](HWND aForm) {
                                  ClickButton(aForm, "Select all");
                                  ClickButton(aForm, "Ok");
                                }}));
  EXPECT_EQ(States(299), (std::vector<int>{1, 1}));
  EXPECT_EQ(fSetup.Installsize(), fOptions->SelectedSize());
  EXPECT_GT(fSetup.Installsize(), 4 * kSampleGb);

  fHost.ShowConfirm();
  const HWND list = GetDlgItem(fHost.Confirm().Handle(), idConFirmListBox);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 300 + 300 + 1);
}

}  // namespace
}  // namespace vek

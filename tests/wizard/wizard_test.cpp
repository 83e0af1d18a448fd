#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/ButtonSets.h"
#include "ui/WhereToPath.h"
#include "ui/WizardForm.h"
#include "ui/WizardPages.h"

namespace vek {
namespace {

TEST(AddRootFolder, AddsTheRootOnceWithOneBackslash) {
  struct Case {
    const char* path;
    const char* root;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\", "VekApps", "C:\\VekApps"},
      {"D:\\Programs", "VekApps", "D:\\Programs\\VekApps"},
      {"C:\\VekApps", "VekApps", "C:\\VekApps"},
      {"C:\\vekapps\\", "VekApps", "C:\\vekapps"},          // already there: only the "\" goes
      {"C:\\VekApps\\Old", "VekApps", "C:\\VekApps\\Old\\VekApps"},  // named, but not last
      {"C:\\Data", "", "C:\\Data"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddRootFolder(c.path, c.root), c.expected) << c.path << " + " << c.root;
}

TEST(LanguageChoiceItem, AddsTheSystemsNameOfALocaleNumber) {
  EXPECT_NE(LanguageChoiceItem("Deutsch", "1031").find("German"), std::string::npos);
  for (const char* notALocale : {"", "DE", "70000", "12a", "-1"}) {
    EXPECT_EQ(LanguageChoiceItem("Deutsch", notALocale), "Deutsch") << notALocale;
  }
}

class Wizard : public ::testing::Test {
 protected:
  Wizard() {
    form.SetSetup(&engine);
  }

  HWND Item(int aId) const {
    if (const HWND own = ::GetDlgItem(form.Handle(), aId)) return own;
    HWND found = nullptr;
    for (HWND page = ::GetWindow(form.Handle(), GW_CHILD); page && !found; page = ::GetWindow(page, GW_HWNDNEXT)) {
      found = ::GetDlgItem(page, aId);
    }
    return found;
  }
  // Shown as far as the window is concerned (the form itself stays hidden in the tests).
  bool Shown(int aId) const {
    const HWND control = Item(aId);
    const HWND page = ::GetParent(control);
    const bool pageShown = page == form.Handle() || (::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) != 0;
    return pageShown && (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  bool Enabled(int aId) const { return ::IsWindowEnabled(Item(aId)) != FALSE; }
  std::string Text(int aId) const {
    wchar_t text[1024] = {};
    ::GetWindowTextW(Item(aId), text, 1024);
    return Narrow(text);
  }
  int DefaultButton() const {
    return LOWORD(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0));
  }
  void Notify(TStepTypes aStep, TStepAction aAction, TStepMessage aMessage = smNone) {
    form.StepNotification(engine, aStep, aAction, aMessage);
  }

  TRunContext context;
  TSetupEngine engine{context};
  TWizardForm form;
};

constexpr int kButtons[] = {idPrevBtn, idNextBtn, idExitBtn, idCancelBtn, idOkBtn, idYesBtn, idNoBtn};

TEST_F(Wizard, EveryButtonSetShowsItsButtonsAndOneDefault) {
  for (int set = sbPrevNextExit; set <= sbStop; ++set) {
    const TButtonSet& expected = ButtonSet(static_cast<TShowButtonType>(set));
    // Start from all buttons enabled, then from all disabled: "unchanged" must stay either way.
    for (const BOOL before : {TRUE, FALSE}) {
      for (const int id : kButtons) ::EnableWindow(Item(id), before);
      form.Showbuttons(static_cast<TShowButtonType>(set));
      for (int b = 0; b < kNavButtonCount; ++b) {
        const int id = kButtons[b];
        const auto bit = Bit(static_cast<TNavButton>(b));
        EXPECT_EQ(Shown(id), (expected.shown & bit) != 0) << "set " << set << " button " << id;
        if (!(expected.shown & bit)) continue;
        const bool enabled = (expected.enable & bit) ? true : (expected.disable & bit) ? false : before != FALSE;
        EXPECT_EQ(Enabled(id), enabled) << "set " << set << " button " << id;
      }
      EXPECT_EQ(DefaultButton(), kButtons[expected.defaultButton]) << "set " << set;
    }
  }
  form.Showbuttons(sbStop);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Stop));
  form.Showbuttons(sbContinue);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Continue));
  // Ok takes Exit's place in sbOk and Next's in sbOkCancel.
  RECT ok{}, exit{};
  ::GetWindowRect(Item(idExitBtn), &exit);
  form.Showbuttons(sbOk);
  ::GetWindowRect(Item(idOkBtn), &ok);
  EXPECT_EQ(ok.left, exit.left);
  form.Showbuttons(sbOkCancel);
  ::GetWindowRect(Item(idOkBtn), &ok);
  EXPECT_LT(ok.left, exit.left);
}

TEST_F(Wizard, NotificationsShowTheirPagesAndButtons) {
  Notify(stInstallFiles, saEnter);
  EXPECT_TRUE(Shown(idProgressBar1));
  EXPECT_TRUE(Shown(idExitBtn));
  EXPECT_FALSE(Shown(idNextBtn));
  EXPECT_EQ(Text(idUnpackText), LanguageText(txt::InstFiles_0));

  Notify(stUpdGroups, saUpdate);
  EXPECT_FALSE(Shown(idProgressBar1));
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  EXPECT_EQ(Text(idInfoLabel2), FormatText(LanguageText(txt::Groups_Ask), {engine.SystemName()}));

  Notify(stCleanUpDirInfo, saEnter);
  EXPECT_TRUE(Shown(idCleanupDirList));
  EXPECT_TRUE(Shown(idOkBtn) && Shown(idCancelBtn));
  EXPECT_EQ(DefaultButton(), idOkBtn);

  Notify(stCleanUpExecute, saEnter);
  EXPECT_TRUE(Shown(idInfoLabel1));
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Stop));

  Notify(stVerifySystemInfoUserRights, saUpdate, smSysAdmRightsFailed);
  EXPECT_TRUE(Shown(idReInfo));
  EXPECT_NE(Text(idReInfo).find(LanguageText(txt::Rights_Admin)), std::string::npos);
  EXPECT_TRUE(Shown(idExitBtn));
  EXPECT_FALSE(Shown(idNextBtn));
}

TEST_F(Wizard, LocationPageAddsTheChosenRootForAnInstall) {
  context.InstallPath = "D:\\Apps\\";
  context.InstallRootList = {"Vek", "Other"};
  context.InstallRootIndex = 0;
  engine.SetInstallMode(1);
  Notify(stWhereTo, saEnter);
  EXPECT_EQ(Text(idInstallPathEdit), "D:\\Apps\\Vek");
  EXPECT_EQ(DefaultButton(), idNextBtn);
  // An update looks where the path says.
  engine.SetInstallMode(2);
  Notify(stWhereTo, saEnter);
  EXPECT_EQ(Text(idInstallPathEdit), "D:\\Apps\\");
  // What stands in the edit when the check starts is what the engine checks.
  ::SetWindowTextW(Item(idInstallPathEdit), L"E:\\Elsewhere");
  Notify(stCheckWhereTo, saEnter);
  EXPECT_EQ(context.InstallPath, "E:\\Elsewhere");
}

TEST_F(Wizard, WelcomePagePreselectsInstall) {
  engine.SetInstmode(0);
  Notify(stInstUpd, saEnter);
  EXPECT_TRUE(Shown(idInstallRadioBtn) && Shown(idUpdateRadioBtn));
  EXPECT_EQ(::SendMessageW(Item(idInstallRadioBtn), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(engine.InstallMode(), 1);
  // A script that fixes the mode offers no choice.
  engine.SetInstmode(2);
  Notify(stInstUpd, saEnter);
  EXPECT_FALSE(Shown(idInstallRadioBtn));
  EXPECT_NE(Text(idInstUpdLabel).find(LanguageText(txt::instupd_4)), std::string::npos);
}

TEST_F(Wizard, ChoicePageEnablesNextOnlyWithASelection) {
  TChoiceView choice{"Edition", "Pick one", {"Home", "Office", "Server"}, -1, false};
  form.ShowChoice(choice);
  EXPECT_TRUE(Shown(idRBChoice3));
  EXPECT_FALSE(Shown(idRBChoice4));
  EXPECT_FALSE(Shown(idChoiceComboBox));
  EXPECT_FALSE(Enabled(idNextBtn));
  ::SendMessageW(Item(idRBChoice2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_EQ(form.ChoiceSelection(), 1);

  // A preset selection enables Next at once; more than four answers go into the combo box.
  choice.items = {"1", "2", "3", "4", "5", "6"};
  choice.selection = 5;
  form.ShowChoice(choice);
  EXPECT_TRUE(Shown(idChoiceComboBox));
  EXPECT_FALSE(Shown(idRBChoice1));
  EXPECT_EQ(::SendMessageW(Item(idChoiceComboBox), CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageW(Item(idChoiceComboBox), CB_GETCURSEL, 0, 0), 5);
  EXPECT_TRUE(Enabled(idNextBtn));
  // At least 150 pixels wide at 96 DPI, whatever the items.
  RECT box{};
  ::GetWindowRect(Item(idChoiceComboBox), &box);
  EXPECT_GE(box.right - box.left, 150);
}

TEST_F(Wizard, IncompleteAgreementCanOnlyBeDeclined) {
  form.ShowAgreement({"line 1", "line 2"}, false);
  EXPECT_TRUE(Shown(idLicensMemo));
  EXPECT_FALSE(Enabled(idYesBtn));
  EXPECT_EQ(DefaultButton(), idNoBtn);
  EXPECT_EQ(engine.NextStep(), stAcceptLicens);
  form.ShowAgreement({"line 1"}, true);
  EXPECT_TRUE(Enabled(idYesBtn));
  EXPECT_EQ(Text(idLicensMemo), "line 1\r\n");
}


TEST_F(Wizard, InfoPagesShowTheFirstPageForThisKindOfInstallation) {
  TCommonInfo networkOnly, plain;
  networkOnly.info = {"only on a network"};
  networkOnly.netshow = 2;
  plain.info = {"Read me", "second line"};
  engine.SetStartInfoList({networkOnly, plain});
  Notify(StStartInfo, saUpdate);
  EXPECT_TRUE(Shown(idReInfo));
  EXPECT_NE(Text(idReInfo).find("Read me"), std::string::npos);
  EXPECT_NE(Text(idReInfo).find("second line"), std::string::npos);
  EXPECT_EQ(Text(idReInfo).find("network"), std::string::npos);
  EXPECT_TRUE(Enabled(idPrevBtn) && Enabled(idNextBtn) && Enabled(idExitBtn));
  // No page for this kind of installation: the run goes on to the agreement.
  engine.SetNextStep(stStart);
  engine.SetStartInfoList({networkOnly});
  Notify(StStartInfo, saUpdate);
  EXPECT_EQ(engine.NextStep(), stAcceptLicens);
  // The final pages only go forward.
  engine.SetFinalInfoList({plain});
  Notify(stFinalInfo, saUpdate);
  EXPECT_NE(Text(idReInfo).find("Read me"), std::string::npos);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_FALSE(Enabled(idPrevBtn) || Enabled(idExitBtn));
}

TEST_F(Wizard, AgreementPageShowsTheEnginesAgreement) {
  engine.SetLicensAgreementList({{kDefaultAgreement, TAgreement({"first", "second"}, 2)}});
  Notify(stAcceptLicens, saUpdate);
  EXPECT_EQ(Text(idLicensMemo), "first\r\nsecond\r\n");
  EXPECT_TRUE(Enabled(idYesBtn));
  EXPECT_EQ(DefaultButton(), idNoBtn);
  // A script that asks for an agreement it does not hold can only be declined.
  engine.SetLicensAgreementList({});
  Notify(stAcceptLicens, saUpdate);
  EXPECT_EQ(Text(idLicensMemo), "");
  EXPECT_FALSE(Enabled(idYesBtn));
}


TEST_F(Wizard, ExternalProgramPageOffersTheProgramsAlternatives) {
  Notify(stExecuteExternals, saUpdate, smNone);
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  EXPECT_FALSE(Shown(idRB1));
  // Two alternatives: Next waits for a pick.
  form.SetProgramAlternatives({{"Full", "Minimal", "", ""}, 0});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_TRUE(Shown(idRB1) && Shown(idRB2));
  EXPECT_FALSE(Shown(idRB3) || Shown(idRB4));
  EXPECT_EQ(Text(idRB2), "Minimal");
  EXPECT_TRUE(Shown(idNextBtn));
  EXPECT_FALSE(Enabled(idNextBtn));
  ::SendMessageW(Item(idRB2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_EQ(form.ProgramChoice(), 2);
  // An answer given before lets the user go on at once.
  form.SetProgramAlternatives({{"Full", "Minimal", "", ""}, 1});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_EQ(::SendMessageW(Item(idRB1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(Enabled(idNextBtn));
  // Without alternatives the question is Yes or No.
  form.SetProgramAlternatives({});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_FALSE(Shown(idRB1));
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  // While the program runs only Continue is offered; a medium to insert asks OK or Abort.
  Notify(stExecuteExternals, saUpdate, smRs_RunProg);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Continue));
  EXPECT_FALSE(Shown(idYesBtn) || Shown(idNextBtn));
  Notify(stExecuteExternals, saUpdate, smRs_Ask);
  EXPECT_TRUE(Shown(idOkBtn) && Shown(idCancelBtn) && Shown(idDiskDrivePanel));
  EXPECT_FALSE(Shown(idRunInfoLabel1));
}

}  // namespace
}  // namespace vek

// The wizard's step handler: what the window shows for each notification of the engine.
#include "ui/WizardForm.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "base/Format.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/ConfirmPage.h"
#include "ui/FolderDialog.h"
#include "ui/LogDialog.h"
#include "ui/Msgdlg.h"
#include "ui/OptionsPage.h"
#include "ui/WhereToPath.h"
#include "ui/WizardProgress.h"

namespace vek {

void TWizardForm::StepNotification(TSetupEngine& aSender, TStepTypes aStep, TStepAction aAction,
                                   TStepMessage aMessage) {
  if (&aSender != fSetup) return;
  switch (aAction) {
    case saEnter: StepEnter(aSender, aStep); break;
    case saUpdate: StepUpdate(aSender, aStep, aMessage); break;
    case saLeave: StepLeave(aSender, aStep); break;
    case saNone: break;
  }
}

void TWizardForm::StepEnter(TSetupEngine& e, TStepTypes step) {
  if (step == stStart) {
    ::SetForegroundWindow(fHandle);
    Showbuttons(sbExit);
    ShowPage(pgLoadini);
  } else if (step == stShowWelcomePicture) {
    Showbuttons(sbNextExit);
    SetWelcomePicture(true);
  } else if (step == stInstUpd) {
    ShowWelcomePage(e);
  } else if (step == stSelectLanguage) {
    // The language page shows only a language choice of the script, which the engine does
    // not offer yet; the buttons are those of the page.
    Showbuttons(e.ShowWelcomePicture() ? sbPrevNextExit : sbNextExit);
  } else if (step == StStartInfo && e.StartInfoList().empty()) {
    NextBtnClick();
  } else if (step == stWhereTo) {
    ShowWhereToPage(e);
  } else if (step == StReadInstallIniExternals) {
    Showbuttons(sbExit);
  } else if (step == stInstallFiles) {
    Showbuttons(sbExit);
    SetText(idUnpackText, LanguageText(txt::InstFiles_0));
    SetText(idFromFileInfoText, LanguageText(txt::InstFiles_From));
    SetText(idToFileInfoText, LanguageText(txt::InstFiles_To));
    SetText(idFromFileLabel, {});
    SetText(idToFileLabel, {});
    ShowPage(pgInstall);
  } else if (step == StReadInstallIniOptions) {
    Showbuttons(sbExit);
    ShowPage(pgLoadini);
    Repaint();
  } else if (step == stCheckWhereTo) {
    e.Context().InstallPath = Text(idInstallPathEdit);
  } else if (step == stCleanUpStart) {
    Showbuttons(sbYesNo);
    ShowPage(pgInfopage);
  } else if (step == stCleanUpDirInfo) {
    const HWND list = Control(idCleanupDirList);
    ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& folder : e.CleanUpDirList()) {
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(folder).c_str()));
    }
    Showbuttons(sbOkCancel);
    ShowPage(pgInfoCleanUp);
  } else if (step == stCleanUpExecute) {
    ShowPage(pgInfopage);
    Showbuttons(sbStop);
  } else if (step == stCleanUpShowErrors) {
    std::string memo = Text(idMemo1);
    for (const std::string& line : e.CleanuUpErrorList()) memo += "\r\n" + line;
    SetText(idMemo1, memo);
    ShowPage(pgErrorCleanup);
    Showbuttons(sbOk);
  }
}

void TWizardForm::StepUpdate(TSetupEngine& e, TStepTypes step, TStepMessage message) {
  const std::vector<std::string>& lines = e.InfoLines();
  if (step == stSetLanguage) {
    ApplyFixedCaptions();
  } else if (step == StStartInfo) {
    if (e.StartInfoList().empty()) return NextBtnClick();
    Showbuttons(sbPrevNextExit);
    StartInfoindex = 0;
    NextInfoPage(StStartInfo);
  } else if (step == stAcceptLicens) {
    // Without an agreement text the page has nothing that could be accepted.
    const TAgreement* agreement = e.LicensAgreement();
    ShowAgreement(agreement ? agreement->Lines() : std::vector<std::string>{}, agreement && agreement->Valid());
  } else if (step == stDeftCust) {
    Showbuttons(sbPrevExit);
    SetText(idDefaultBtn, e.DefaultBtnCaption());
    SetText(idDefaultLabel, e.DefaultLabelCaption());
    SetText(idCustomBtn, e.CustomBtnCaption());
    SetText(idCustomLabel, e.CustomLabelCaption());
    ShowPage(pgDeftCust);
  } else if (step == stIoptions) {
    if (fOptionsPage) InstallToCaption = fOptionsPage->Prepare();
    Showbuttons(sbPrevNextExit);
    ShowPage(pgOptions);
  } else if (step == stInstallFiles) {
    ShowInstallUpdate(e, message);
  } else if (step == stIconfirm) {
    Showbuttons(sbPrevNextExit);
    if (fConfirmPage) fConfirmPage->Prepare(LanguageText(txt::Iconfirm_0));
    ShowPage(pgConfirm);
  } else if (step == stUpdGroups || step == stUpdUnInstallInfo) {
    Showbuttons(step == stUpdGroups ? sbYesNo : SbCancel);
    SetText(idInfoLabel1, {});
    SetText(idInfoLabel3, {});
    SetText(idInfoLabel2, FormatText(LanguageText(step == stUpdGroups ? txt::Groups_Ask : txt::UnInst_Registering),
                                     {e.SystemName()}));
    ShowPage(pgInfopage);
    Repaint();
  } else if (step == stCopyExternals) {
    if (message == smNone) {
      SetText(idUnpackText, {});
      SetText(idFromFileInfoText, LanguageText(txt::InstFiles_From));
      SetText(idToFileInfoText, LanguageText(txt::InstFiles_To));
      SetText(idFromFileLabel, {});
      SetText(idToFileLabel, {});
      ShowPage(pgInstall);
      Showbuttons(SbCancel);
    } else if (message == smNoProgressBar) {
      ::ShowWindow(Control(idProgressBar1), SW_HIDE);
    } else if (message == smFromToFile) {
      SetShortenedText(idFromFileLabel, Line(lines, 0));
      SetShortenedText(idToFileLabel, Line(lines, 1));
      Repaint();
    } else if (message == smUnPackText) {
      SetText(idUnpackText, Line(lines, 0));
      Repaint();
    }
  } else if (step == stExecuteExternals) {
    ShowExternalProgram(message, lines);
  } else if (step == stCheckWhereTo) {
    if (e.Context().RunMode != rmInstall || e.InstallMode() != 2) return;
    if (message == smStartFindSystem) {
      Showbuttons(sbStop);
      e.SetStopBtnHandle(Button(nbCancel));
      ShowPage(pgFindProg);
    } else if (message == smFindSystem) {
      SetText(idCancelBtn, LanguageText(txt::contr_Stop));
      SetText(idFindDescLabel, e.Info());
      Repaint();
    } else if (message == smFoundSystem) {
      ShowPage(pgWhereto);
      Showbuttons(sbPrevNextExit);
    } else if (message == smFoundDir) {
      SetShortenedText(idFindPathLabel, e.Info());
      ::UpdateWindow(Control(idFindPathLabel));
    }
  } else if (step == stVerifySystemInfoUserRights) {
    ShowRightsPage({}, txt::Rights_Head,
                   message == smSysAdmRightsFailed ? txt::Rights_Admin : txt::Rights_Power);
    Showbuttons(sbExit);
  } else if (step == stVerifyUserRights) {
    ShowRightsPage(lines, txt::Rights_Selection, 0);
    Showbuttons(sbPrevNextExit);
  } else if (step == stExecuteChoices) {
    if (message == smChoice) {
      Showbuttons(sbPrevNextExit);
      ShowPage(pgChoicePage);  // the engine's selected choice is shown once it has one
    }
  } else if (step == stCleanUpExecute) {
    if (message == smCleanUpExt) {
      SetText(idInfoLabel1, Line(lines, 0));
      SetText(idInfoLabel2, Line(lines, 1));
      SetText(idInfoLabel3, {});
    } else if (message == smCleanUpFile || message == smCleanUpFolder) {
      SetText(idInfoLabel1, Line(lines, 0));
      SetShortenedText(idInfoLabel2, Line(lines, 1));
      SetText(idInfoLabel3, {});
    } else if (message == smCleanUpGrp) {
      ShowInfoLines(lines);
    }
    Repaint();
  } else if (step == stFinishCleanUp || step == stFinish) {
    ShowFinishPage(e, message);
  } else if (step == stFinalInfo) {
    Showbuttons(sbNext);
    FinalInfoindex = 0;
    NextInfoPage(stFinalInfo);
  } else if (step == stAppRunTest) {
    AppRunPrompt(e);
  }
}

void TWizardForm::StepLeave(TSetupEngine& e, TStepTypes step) {
  if (step == stStart) {
    InitGui(e.OemGui());
    if (!IsCleanUpRun(e.Context().RunMode)) {
      ::SetWindowTextW(fHandle, Wide(e.SetupCaption()).c_str());
      SetText(idFlashTitle, e.FlashStr());
    }
    NextBtnClick();
  } else if ((step == StStartInfo && e.StartInfoList().empty()) || step == StReadInstallIniOptions) {
    NextBtnClick();
  } else if (step == stCleanUpStart) {
    InitGui(e.OemGui());
    Repaint();
    SetText(idMemo1, LanguageText(txt::CleanUp_ErrorsHead));
    ::SetWindowTextW(fHandle, Wide(FormatText(LanguageText(txt::CleanUp_Caption), {e.SystemName()})).c_str());
    SetText(idFlashTitle, e.FlashStr());
    ShowInfoLines(e.InfoLines());
    SetText(idInfoCleanUpLabel, LanguageText(txt::CleanUp_DirsHead));
  } else if (step == stTerminate) {
    fTerminated = true;
  }
}

void TWizardForm::ShowExternalProgram(TStepMessage aMessage, const std::vector<std::string>& aLines) {
  const auto page = static_cast<TControlPage*>(fPages[pgRunExternals].get());
  const auto clearRadios = [this] {
    for (const int radio : {idRB1, idRB2, idRB3, idRB4}) {
      SetText(radio, {});
      ::SendMessageW(Control(radio), BM_SETCHECK, BST_UNCHECKED, 0);
      ::ShowWindow(Control(radio), SW_HIDE);
    }
  };
  const auto centred = [this](bool aCentred) {
    const HWND label = Control(idRunInfoLabel1);
    const LONG_PTR style = ::GetWindowLongPtrW(label, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK);
    ::SetWindowLongPtrW(label, GWL_STYLE, style | (aCentred ? SS_CENTER : SS_LEFT));
  };
  if (aMessage == smNone) {
    for (const int label : {idInsertLabel, idDescribeLabel, idDiskIdLabel, idInlabel, idDiskDrivePanel,
                            idRunInfoLabel1, idRunInfoLabel2, idRunInfolabel3, idRunInfolabel4}) {
      SetText(label, {});
    }
    page->ShowGroup(idGrpRunExtInsertGrpBox, false);
    page->ShowGroup(idGrpRunExtInfoGrpBox, false);
    ShowPage(pgRunExternals);
    Showbuttons(sbYesNo);
  } else if (aMessage == smYesNoBtn) {
    Showbuttons(sbYesNo);
  } else if (aMessage == smRs_Ask) {
    SetText(idInsertLabel, Line(aLines, 0));
    SetText(idDescribeLabel, Line(aLines, 1));
    SetText(idDiskIdLabel, Line(aLines, 2));
    SetText(idInlabel, Line(aLines, 3));
    SetText(idDiskDrivePanel, Line(aLines, 4));
    page->ShowGroup(idGrpRunExtInfoGrpBox, false);
    page->ShowGroup(idGrpRunExtInsertGrpBox, true);
    Showbuttons(sbOkAbort);
  } else if (aMessage == smRs_RunProg || aMessage == smGetProgInfo) {
    const bool running = aMessage == smRs_RunProg;
    if (!running) ::SetWindowTextW(fHandle, Wide(Line(aLines, 0)).c_str());
    const std::size_t first = running ? 0 : 1;
    centred(true);
    SetText(idRunInfoLabel1, Line(aLines, first));
    if (running) {
      SetShortenedText(idRunInfoLabel2, Line(aLines, first + 1));
    } else {
      SetText(idRunInfoLabel2, Line(aLines, first + 1));
    }
    SetText(idRunInfolabel3, Line(aLines, first + 2));
    SetText(idRunInfolabel4, running ? std::string() : Line(aLines, first + 3));
    page->ShowGroup(idGrpRunExtInsertGrpBox, false);
    page->ShowGroup(idGrpRunExtInfoGrpBox, true);
    const auto& texts = fProgramAlternatives.texts;
    if (!running && std::any_of(texts.begin(), texts.end(), [](const std::string& t) { return !t.empty(); })) {
      centred(false);
      ShowProgramAlternatives();
    } else {
      clearRadios();
      Showbuttons(running ? sbContinue : sbYesNo);
    }
    if (running) Repaint();
  } else if (aMessage == smDiskDrive) {
    SetText(idDiskDrivePanel, Line(aLines, 0));
  } else if (aMessage == smFindFile) {
    SetText(idCancelBtn, LanguageText(txt::contr_Stop));
    SetText(idFindDescLabel, Line(aLines, 0));
    Repaint();
  }
}

void TWizardForm::ShowInfoLines(const std::vector<std::string>& aLines) {
  SetText(idInfoLabel1, Line(aLines, 0));
  SetText(idInfoLabel2, Line(aLines, 1));
  SetText(idInfoLabel3, Line(aLines, 2));
}

void TWizardForm::ShowWelcomePage(TSetupEngine& e) {
  Showbuttons(e.ShowWelcomePicture() ? sbPrevNextExit : sbNextExit);
  const std::string welcome = FormatText(LanguageText(txt::instupd_1), {e.WelcomeTitle()});
  std::string second;
  bool choose = false;
  switch (e.Context().RunMode) {
    case rmInstall:
      if (e.Instmode() == 0) {
        second = LanguageText(txt::instupd_2);
        choose = true;
      } else if (e.Instmode() == 1) {
        second = LanguageText(txt::instupd_3);
      } else if (e.Instmode() == 2) {
        second = LanguageText(txt::instupd_4);
      }
      break;
    case rmWorkStationSetup: second = FormatText(LanguageText(txt::instupd_WsSetup), {e.SystemTitle()}); break;
    case rmWorkStationUpdate: second = FormatText(LanguageText(txt::instupd_WsUpdate), {e.SystemTitle()}); break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  SetText(idInstUpdLabel, second.empty() ? std::string() : welcome + "\r\n\r\n" + second);
  for (const int radio : {idInstallRadioBtn, idUpdateRadioBtn}) {
    ::ShowWindow(Control(radio), choose ? SW_SHOW : SW_HIDE);
    ::EnableWindow(Control(radio), choose);
  }
  if (choose) {
    SetText(idInstallRadioBtn, LanguageText(txt::contr_Install));
    SetText(idUpdateRadioBtn, LanguageText(txt::contr_Update));
    // An installation is what most runs want: it is preselected.
    if (::SendMessageW(Control(idUpdateRadioBtn), BM_GETCHECK, 0, 0) != BST_CHECKED) {
      ::SendMessageW(Control(idInstallRadioBtn), BM_SETCHECK, BST_CHECKED, 0);
      e.SetInstallMode(1);
    }
  }
  ShowPage(pgInstUpd);
  Repaint();
}

void TWizardForm::ShowWhereToPage(TSetupEngine& e) {
  TRunContext& context = e.Context();
  const auto label = [&](int aText) { SetText(idWhereToLabel, FormatText(LanguageText(aText), {e.SystemName()})); };
  const auto chosenRoot = [&context] {
    const int index = context.InstallRootIndex;
    return index >= 0 && static_cast<std::size_t>(index) < context.InstallRootList.size()
               ? context.InstallRootList[static_cast<std::size_t>(index)]
               : std::string();
  };
  switch (context.RunMode) {
    case rmInstall:
      label(e.InstallMode() == 1 ? txt::WhereTo_Install : txt::WhereTo_Update);
      SetText(idInstallPathEdit, e.InstallMode() == 1 ? AddRootFolder(context.InstallPath, chosenRoot())
                                                      : context.InstallPath);
      break;
    case rmWorkStationSetup:
      label(txt::WhereTo_WsSetup);
      SetText(idInstallPathEdit, AddRootFolder(context.InstallPath, context.WorkStationRootDir));
      break;
    case rmWorkStationUpdate:
      label(txt::WhereTo_WsUpdate);
      SetText(idInstallPathEdit, context.InstallPath);
      break;
    case rmCleanUp:
    case rmWorkStationCleanUp: break;
  }
  Showbuttons(sbPrevNextExit);
  ShowPage(pgWhereto);
  const HWND edit = Control(idInstallPathEdit);
  ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void TWizardForm::ShowInstallUpdate(TSetupEngine& e, TStepMessage aMessage) {
  const std::vector<std::string>& lines = e.InfoLines();
  switch (aMessage) {
    case smInitProgressMonitor:
      fProgress = std::make_unique<TWizardProgress>(Control(idProgressBar1), Control(idToFileLabel));
      ::ShowWindow(Control(idProgressBar1), SW_SHOW);
      if (TProgressMonitor* monitor = e.ProgressMonitor()) {
        monitor->SetProgressBar(&fProgress->Bar);
        monitor->SetFileLabel(&fProgress->FileLabel);
      }
      break;
    case smUpdate: Repaint(); break;
    case smProgressMax:
      if (fProgress) fProgress->Bar.Fill();
      break;
    case smProgressStep:
      if (fProgress) fProgress->Bar.Step();
      break;
    case smFromToFile:
      if (lines.size() >= 2) {
        SetShortenedText(idFromFileLabel, lines[0]);
        SetShortenedText(idToFileLabel, lines[1]);
        Repaint();
      }
      break;
    case smFromFile:
      if (!lines.empty()) {
        SetShortenedText(idFromFileLabel, lines[0]);
        Repaint();
      }
      break;
    case smNone:
    case smSysAdmRightsFailed:
    case smSysPowerRightsFailed:
    case smStartFindSystem:
    case smFindSystem:
    case smFoundSystem:
    case smFoundDir:
    case smNoProgressBar:
    case smUnPackText:
    case smYesNoBtn:
    case smRs_Ask:
    case smRs_RunProg:
    case smDiskDrive:
    case smGetProgInfo:
    case smFindFile:
    case smShowErrorLog:
    case smCleanUpExt:
    case smCleanUpFile:
    case smCleanUpFolder:
    case smCleanUpGrp:
    case smChoice:
      break;
  }
}

void TWizardForm::ShowFinishPage(TSetupEngine& e, TStepMessage aMessage) {
  if (aMessage == smNone) {
    ShowInfoLines(e.InfoLines());
    ShowPage(pgInfopage);
    Showbuttons(sbOk);
  } else if (aMessage == smShowErrorLog) {
    ShowLogDialog(e.ErrorLog(), LanguageText(txt::LogDlg_Caption));
  }
}

void TWizardForm::ShowRightsPage(const std::vector<std::string>& aLines, int aTextId, int aSecondTextId) {
  std::string text;
  for (const std::string& line : aLines) text += line + "\r\n";
  text += "\r\n" + LanguageText(aTextId);
  if (aSecondTextId != 0) text += "\r\n" + LanguageText(aSecondTextId);
  SetRichInfoText(text);
}

void TWizardForm::SetRichInfoText(const std::string& aText) {
  const HWND edit = Control(idReInfo);
  // Plain black text: the default format of the whole control.
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
  format.crTextColor = RGB(0, 0, 0);
  ::SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  SetText(idReInfo, aText);
  ShowPage(pgRichEditInfoPage);
}

void TWizardForm::AppRunPrompt(TSetupEngine& e) {
  const bool cleanUp = IsCleanUpRun(e.Context().RunMode);
  std::string message = FormatText(LanguageText(cleanUp ? txt::AppRun_CleanUp : txt::AppRun_Install), {e.Info()});
  if (message.empty()) message = LanguageText(cleanUp ? txt::AppRun_CleanUpDefault : txt::AppRun_InstallDefault);
  const int answer = ShowMessageDialog(LanguageText(txt::Msg_Warning), message, mtWarning,
                                       {LanguageText(txt::contr_Continue), LanguageText(txt::contr_Exit)}, {}, nullptr);
  if (answer == 1) e.SetNextStep(stAppRunTest);
  if (answer == 2) e.SetNextStep(stTerminate);
}

}  // namespace vek

// The wizard's start and final info pages: paging forward and back through the engine's lists
// without advancing the engine, which moves on only after the last page.
#include "ui/WizardForm.h"

#include <richedit.h>

namespace vek {

bool IsInfoStep(TStepTypes aStep) { return aStep == StStartInfo || aStep == stFinalInfo; }

const std::vector<TCommonInfo>& TWizardForm::InfoList(TStepTypes aStep) const {
  return aStep == StStartInfo ? fSetup->StartInfoList() : fSetup->FinalInfoList();
}

int& TWizardForm::InfoIndex(TStepTypes aStep) { return aStep == StStartInfo ? StartInfoindex : FinalInfoindex; }

bool TWizardForm::InfoPagesRemain(TStepTypes aStep) {
  return static_cast<std::size_t>(InfoIndex(aStep)) < InfoList(aStep).size();
}

bool TWizardForm::InfoPageShown(const TCommonInfo& aPage) const {
  return aPage.doShow(fSetup->Context().doNetInstall, fSetup->Context().doTSInstall);
}

void TWizardForm::ShowInfoPage(const TCommonInfo& aPage) {
  std::string text;
  for (const std::string& line : aPage.getInfoStrings(fSetup->InfoTextEnv())) text += line + "\r\n";
  SetRichInfoText(text);
}

void TWizardForm::NextInfoPage(TStepTypes aStep) {
  const std::vector<TCommonInfo>& pages = InfoList(aStep);
  int& index = InfoIndex(aStep);
  while (static_cast<std::size_t>(index) < pages.size()) {
    const TCommonInfo& page = pages[static_cast<std::size_t>(index++)];
    if (InfoPageShown(page)) {
      ShowInfoPage(page);
      return;  // the user reads the page
    }
  }
  // No page left to show: the run goes on after the info pages.
  fSetup->SetNextStep(aStep == StStartInfo ? stAcceptLicens : stFinish);
  NextBtnClick();
}

void TWizardForm::PrevInfoPage(TStepTypes aStep) {
  const std::vector<TCommonInfo>& pages = InfoList(aStep);
  int& index = InfoIndex(aStep);
  bool shown = false;
  for (int i = index - 2; i >= 0 && !shown; --i) {
    if (static_cast<std::size_t>(i) < pages.size() && InfoPageShown(pages[static_cast<std::size_t>(i)])) {
      ShowInfoPage(pages[static_cast<std::size_t>(i)]);
      index = i + 1;
      shown = true;
    }
  }
  if (aStep == stFinalInfo) {
    // The final pages never lead back into the run, which is done.
    Showbuttons(sbNextExit);
  } else if (!shown) {
    fSetup->SetNextStep(fSetup->PrevStep());
    StateMachineRun();
  }
}

}  // namespace vek

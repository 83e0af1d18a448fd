// The wizard's choices: a script's choice or the language choice on the choice page, the
// agreement page, and the alternatives of an external program.
#include "ui/WizardForm.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"

namespace vek {
namespace {

constexpr int kRadioCount = 4;
constexpr std::array<int, kRadioCount> kChoiceRadios{idRBChoice1, idRBChoice2, idRBChoice3, idRBChoice4};
constexpr std::array<int, kRadioCount> kProgramRadios{idRB1, idRB2, idRB3, idRB4};

// The system's name of the language whose locale number aVariable is ("1049"), or nothing.
std::string LocaleName(const std::string& aVariable) {
  unsigned number = 0;
  const char* end = aVariable.data() + aVariable.size();
  const auto [at, error] = std::from_chars(aVariable.data(), end, number);
  if (aVariable.empty() || error != std::errc() || at != end || number > 0xFFFF) return {};
  const auto locale = static_cast<LCID>(number);
  if (!::IsValidLocale(locale, LCID_SUPPORTED)) return {};
  wchar_t name[128] = {};
  if (::GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, 128) <= 0) return {};
  return Narrow(name);
}

}  // namespace

std::string LanguageChoiceItem(const std::string& aText, const std::string& aVariable) {
  const std::string name = LocaleName(aVariable);
  return name.empty() ? aText : aText + " " + name;
}

void TWizardForm::ShowChoice(const TChoiceView& aChoice) {
  SetText(idChoiceGrpBox, aChoice.description);
  SetText(idChoiceInfo, aChoice.info);
  // More answers than radio buttons go into the combo box, so that every answer can be picked.
  const bool combo = aChoice.combo || aChoice.items.size() > kRadioCount;
  const HWND box = Control(idChoiceComboBox);
  ::ShowWindow(box, combo ? SW_SHOW : SW_HIDE);
  ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < kRadioCount; ++i) {
    const HWND radio = Control(kChoiceRadios[static_cast<std::size_t>(i)]);
    const bool has = !combo && static_cast<std::size_t>(i) < aChoice.items.size();
    SetText(kChoiceRadios[static_cast<std::size_t>(i)], has ? aChoice.items[static_cast<std::size_t>(i)] : std::string());
    ::SendMessageW(radio, BM_SETCHECK, aChoice.selection == i ? BST_CHECKED : BST_UNCHECKED, 0);
    ::ShowWindow(radio, has ? SW_SHOW : SW_HIDE);
  }
  bool selected = !combo && aChoice.selection >= 0 && aChoice.selection < kRadioCount &&
                  static_cast<std::size_t>(aChoice.selection) < aChoice.items.size();
  if (combo) {
    // As wide as the widest item with its scroll bar, at least 150 pixels at 96 DPI.
    const HDC dc = ::GetDC(box);
    const HGDIOBJ old = ::SelectObject(dc, fFont);
    int widest = 0;
    for (const std::string& item : aChoice.items) {
      const std::wstring text = Wide(item);
      ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      SIZE size{};
      ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(box, dc);
    const int width = std::max(widest + ::GetSystemMetrics(SM_CXVSCROLL) + fScale.Px(8), fScale.Px(150));
    RECT at{};
    ::GetWindowRect(box, &at);
    ::SetWindowPos(box, nullptr, 0, 0, std::min(width, fScale.Px(480)), at.bottom - at.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (aChoice.selection >= 0 && static_cast<std::size_t>(aChoice.selection) < aChoice.items.size()) {
      ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(aChoice.selection), 0);
      selected = true;
    }
  }
  fChoiceSelection = selected ? aChoice.selection : -1;
  ::EnableWindow(Button(nbNext), selected);
  ShowPage(pgChoicePage);
}

void TWizardForm::RBChoice1Click(int aId) {
  if (aId == idChoiceComboBox) {
    fChoiceSelection = static_cast<int>(::SendMessageW(Control(idChoiceComboBox), CB_GETCURSEL, 0, 0));
  } else {
    const auto found = std::find(kChoiceRadios.begin(), kChoiceRadios.end(), aId);
    fChoiceSelection = found == kChoiceRadios.end() ? -1 : static_cast<int>(found - kChoiceRadios.begin());
  }
  ::EnableWindow(Button(nbNext), fChoiceSelection >= 0);
}

void TWizardForm::ShowAgreement(const std::vector<std::string>& aLines, bool aValid) {
  if (fSetup) fSetup->SetNextStep(stAcceptLicens);
  Showbuttons(sbYesNoDefault);
  std::string text;
  for (const std::string& line : aLines) text += line + "\r\n";
  SetText(idLicensMemo, text);
  // Only a complete agreement can be accepted.
  ::EnableWindow(Button(nbYes), aValid);
  SetText(idLicensLabel1, LanguageText(txt::Licens_1));
  SetText(idLicensLabel2, LanguageText(txt::Licens_2));
  ShowPage(pgLicensAgreement);
  ::SendMessageW(fHandle, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(idLicensMemo)), TRUE);
  // The dialog manager selects an edit's whole text when it takes the focus; a reader only reads.
  ::SendMessageW(Control(idLicensMemo), EM_SETSEL, 0, 0);
}

void TWizardForm::ShowProgramAlternatives() {
  Showbuttons(sbNext);
  fProgramChoice = 0;
  for (int k = 0; k < kRadioCount; ++k) {
    const std::string& text = fProgramAlternatives.texts[static_cast<std::size_t>(k)];
    const int id = kProgramRadios[static_cast<std::size_t>(k)];
    const bool checked = !text.empty() && fProgramAlternatives.selected == k + 1;
    SetText(id, text);
    ::SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    ::ShowWindow(Control(id), text.empty() ? SW_HIDE : SW_SHOW);
    if (checked) fProgramChoice = k + 1;
  }
  // As on the choice page, an answer given before lets the user go on at once.
  ::EnableWindow(Button(nbNext), fProgramChoice != 0);
}

void TWizardForm::RB1Click(int aId) {
  const auto found = std::find(kProgramRadios.begin(), kProgramRadios.end(), aId);
  fProgramChoice = found == kProgramRadios.end() ? 0 : static_cast<int>(found - kProgramRadios.begin()) + 1;
  ::EnableWindow(Button(nbNext), TRUE);
}

}  // namespace vek

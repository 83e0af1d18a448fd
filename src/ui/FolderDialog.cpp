#include "ui/FolderDialog.h"

#include <shlobj.h>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/SysInfo.h"
#include "system/WinText.h"
#include "ui/FolderPicker.h"

namespace vek {
namespace {

int CALLBACK BrowseStart(HWND aWindow, UINT aMessage, LPARAM, LPARAM aData) noexcept {
  if (aMessage == BFFM_INITIALIZED && aData) ::SendMessageW(aWindow, BFFM_SETSELECTIONW, TRUE, aData);
  return 0;
}

// The new-style folder browser needs COM on this thread for as long as it is open.
class ComScope {
 public:
  ComScope() : fInitialized(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (fInitialized) ::CoUninitialize();
  }

 private:
  bool fInitialized;
};

std::optional<std::string> BrowseOld(HWND aOwner, const std::string& aStartFolder) {
  const ComScope com;
  const std::wstring caption = Wide(LanguageText(txt::Browse_Folder));
  const std::wstring start = Wide(aStartFolder);
  BROWSEINFOW info{};
  info.hwndOwner = aOwner;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_USENEWUI;
  info.lpfn = &BrowseStart;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info);
  if (!list) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListW(list, path) != FALSE;
  ::CoTaskMemFree(list);
  if (!ok) return std::nullopt;
  return Narrow(path);
}

}  // namespace

std::optional<std::string> BrowseForFolder(HWND aOwner, const std::string& aStartFolder) {
  if (GetWinVersion().major >= 6) return PickFolder(aOwner, LanguageText(txt::Browse_0), aStartFolder);
  return BrowseOld(aOwner, aStartFolder);
}

}  // namespace vek

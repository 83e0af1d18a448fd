#include "ui/FolderDialog.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/SysInfo.h"
#include "system/WinText.h"

namespace vek {
namespace {

// Releases a COM interface pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (fPointer) fPointer->Release();
  }
  T** put() { return &fPointer; }
  T* operator->() const { return fPointer; }
  explicit operator bool() const { return fPointer != nullptr; }

 private:
  T* fPointer = nullptr;
};

// Balances a successful CoInitializeEx on this thread.
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

std::optional<std::string> PickFolder(HWND aOwner, const std::string& aStartFolder) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                reinterpret_cast<void**>(dialog.put())))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM);
  dialog->SetTitle(Wide(LanguageText(txt::Browse_0)).c_str());
  ComPtr<IShellItem> start;
  if (!aStartFolder.empty() &&
      SUCCEEDED(::SHCreateItemFromParsingName(Wide(aStartFolder).c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(start.put())))) {
    dialog->SetDefaultFolder(start.operator->());
  }
  if (FAILED(dialog->Show(aOwner))) return std::nullopt;
  ComPtr<IShellItem> chosen;
  if (FAILED(dialog->GetResult(chosen.put()))) return std::nullopt;
  PWSTR path = nullptr;
  if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return std::nullopt;
  std::string result = Narrow(path);
  ::CoTaskMemFree(path);
  return result;
}

int CALLBACK BrowseStart(HWND aWindow, UINT aMessage, LPARAM, LPARAM aData) noexcept {
  if (aMessage == BFFM_INITIALIZED && aData) ::SendMessageW(aWindow, BFFM_SETSELECTIONW, TRUE, aData);
  return 0;
}

std::optional<std::string> BrowseOld(HWND aOwner, const std::string& aStartFolder) {
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
  const ComScope com;
  if (GetWinVersion().major >= 6) return PickFolder(aOwner, aStartFolder);
  return BrowseOld(aOwner, aStartFolder);
}

}  // namespace vek

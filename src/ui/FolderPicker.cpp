#include "ui/FolderPicker.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "system/WinText.h"

namespace vek {

namespace {

// Releases a COM interface once.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (fPtr != nullptr) fPtr->Release();
  }
  T* operator->() const { return fPtr; }
  T** put() { return &fPtr; }
  T* get() const { return fPtr; }

 private:
  T* fPtr = nullptr;
};

// COM for this thread while the dialog is open; a thread that has it already keeps it.
class ComScope {
 public:
  ComScope() : fResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(fResult)) CoUninitialize();
  }

 private:
  HRESULT fResult;
};

void SetStartFolder(IFileOpenDialog& aDialog, const std::string& aStartFolder) {
  if (aStartFolder.empty()) return;
  ComPtr<IShellItem> folder;
  if (SUCCEEDED(SHCreateItemFromParsingName(Wide(aStartFolder).c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(folder.put())))) {
    aDialog.SetFolder(folder.get());
  }
}

}  // namespace

std::optional<std::string> PickFolder(HWND aOwner, const std::string& aTitle, const std::string& aStartFolder) {
  const ComScope com;
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.put())))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(Wide(aTitle).c_str());
  SetStartFolder(*dialog.get(), aStartFolder);
  if (FAILED(dialog->Show(aOwner))) return std::nullopt;
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(item.put()))) return std::nullopt;
  PWSTR path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) return std::nullopt;
  std::string chosen = Narrow(path);
  CoTaskMemFree(path);
  return chosen;
}

}  // namespace vek

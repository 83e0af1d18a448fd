// The wizard's cancel button reaches the extraction through the message queue: a message
// posted while a file is extracted is dispatched at one of the next entries (the queue is
// looked at every few milliseconds, not for every file) and stops the run.
#include <windows.h>

#include "ExtractFixture.h"
#include "system/MessagePump.h"

namespace vek::test {
namespace {

constexpr UINT kCancelMessage = WM_APP + 1;
TProgressMonitor* gMonitor = nullptr;

LRESULT CALLBACK CancelWindowProc(HWND aWindow, UINT aMessage, WPARAM aW, LPARAM aL) {
  if (aMessage == kCancelMessage && gMonitor) gMonitor->AbortFlag = true;
  return ::DefWindowProcW(aWindow, aMessage, aW, aL);
}

// A message-only window standing in for the wizard with its cancel button.
class TCancelWindow {
 public:
  TCancelWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CancelWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VekExtractCancel";
    ::RegisterClassW(&windowClass);
    fWindow = ::CreateWindowW(L"VekExtractCancel", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
  }
  ~TCancelWindow() { ::DestroyWindow(fWindow); }
  TCancelWindow(const TCancelWindow&) = delete;
  TCancelWindow& operator=(const TCancelWindow&) = delete;
  void PressCancel() const { ::PostMessageW(fWindow, kCancelMessage, 0, 0); }
  explicit operator bool() const { return fWindow != nullptr; }

 private:
  HWND fWindow = nullptr;
};

TEST_F(ExtractTest, CancelDuringAFileStopsTheExtractionSoon) {
  TCancelWindow window;
  ASSERT_TRUE(window);
  gMonitor = &fMonitor;
  fMonitor.SetOnLogMessage([&](TProgressMonitor&, const std::string& aLine) {
    fLog.push_back(aLine);
    if (fLog.size() == 1) window.PressCancel();
  });
  std::vector<TTestEntry> entries;
  constexpr int kEntries = 2000;
  for (int i = 0; i < kEntries; ++i) entries.push_back(EntryOf("f" + std::to_string(i) + ".txt", "x"));
  Extract(WritePack(PackOf(entries)));
  gMonitor = nullptr;
  EXPECT_TRUE(fMonitor.AbortFlag);
  std::vector<std::string> extracted;
  for (int i = 0; i < kEntries; ++i) {
    const std::string name = "f" + std::to_string(i) + ".txt";
    if (fs::exists(Target(name))) extracted.push_back(name);
  }
  EXPECT_GE(extracted.size(), 1u);
  EXPECT_LT(extracted.size(), static_cast<std::size_t>(kEntries));
  // Every file the pack could create was recorded, and made durable, before the first was
  // written: a process killed at this point leaves a record of whatever came out.
  const std::vector<std::string> recorded = Recorded();
  EXPECT_EQ(recorded.size(), static_cast<std::size_t>(kEntries));
  for (const std::string& name : extracted) {
    EXPECT_NE(std::find(recorded.begin(), recorded.end(), name), recorded.end()) << name;
  }
  EXPECT_EQ(fCleanup.FlushedKeys, fCleanup.Sections);
}

TEST(MessagePump, LeavesAQuitRequestForTheMainLoop) {
  ::PostQuitMessage(7);
  ProcessPendingMessages();
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace vek::test

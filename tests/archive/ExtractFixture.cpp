#include "ExtractFixture.h"

#include <algorithm>

#include "system/Files.h"

namespace vek::test {

void ExtractTest::SetUp() {
  fOldFolder = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(fDest.Utf8()).ok());
  fMonitor.SetOnLogMessage([this](TProgressMonitor&, const std::string& aLine) { fLog.push_back(aLine); });
  SetMessageDialogHandler([this](const MessageRequest& aRequest, bool&) {
    fDialogs.push_back(aRequest);
    if (fAnswers.empty()) return std::uint16_t{1};
    const std::uint16_t answer = fAnswers.front();
    fAnswers.pop_front();
    return answer;
  });
}

void ExtractTest::TearDown() {
  SetMessageDialogHandler(nullptr);
  (void)SetCurrentDir(fOldFolder);
}

std::string ExtractTest::WritePack(const TTestPack& aPack) {
  const fs::path pack = fPackFolder.Path() / "pack.zip";
  WriteBytes(pack, BuildPack(aPack));
  return Utf8Path(pack);
}

void ExtractTest::Extract(const std::string& aPack, const TExtractCall& aCall) {
  ExtractPackFile(aPack, aCall.Masks, aCall.NewerOnly, "Files", fCleanupErrorShown, &fCleanup, fMonitor,
                  aCall.FileAttr, aCall.UnpackMode);
}

bool ExtractTest::LogHas(const std::string& aPart) const {
  return std::any_of(fLog.begin(), fLog.end(),
                     [&](const std::string& aLine) { return aLine.find(aPart) != std::string::npos; });
}

TTestEntry EntryOf(const std::string& aName, const std::string& aData, std::uint32_t aDosDateTime) {
  TTestEntry entry;
  entry.Name = aName;
  entry.Data = aData;
  entry.Deflated = aData.size() > 8;
  entry.DosDateTime = aDosDateTime;
  return entry;
}

}  // namespace vek::test

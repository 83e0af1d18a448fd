#include "ExtractFixture.h"

#include <algorithm>

#include "system/Files.h"

namespace vek::test {

void ExtractTest::SetUp() {
  fOldFolder = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(fDest.Utf8()).ok());
  fMonitor.SetOnLogMessage([this](TProgressMonitor&, const std::string& aLine) { fLog.push_back(aLine); });
  fChannel.Log = [this](const std::string& aLine) { fLog.push_back(aLine); };
  fMonitor.SetChannel(&fChannel);
}

void ExtractTest::TearDown() {
  (void)SetCurrentDir(fOldFolder);
}

std::string ExtractTest::WritePack(const TTestPack& aPack) {
  const fs::path pack = fPackFolder.Path() / "pack.zip";
  WriteBytes(pack, BuildPack(aPack));
  return Utf8Path(pack);
}

void ExtractTest::Extract(const std::string& aPack, const TExtractCall& aCall) {
  ExtractPackFile(aPack, fDest.Utf8(), aCall.Masks, aCall.NewerOnly, "Files", fCleanupErrorShown, &fCleanup, fMonitor,
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

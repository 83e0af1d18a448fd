// Fuzzes the archive reader: the input is a whole pack, read from memory; every entry is
// listed and extracted into a memory file system that keeps only sizes. Any crash, sanitizer
// report, hang or large allocation here is a defect of the reader.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/MaskMatch.h"
#include "archive/MemoryZipFiles.h"
#include "archive/ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize) {
  using namespace vek;
  TMemoryZipFiles files(false);
  files.AddPack("pack.zip", std::string(reinterpret_cast<const char*>(aData), aSize));
  TZipReader reader(files);
  reader.SetArchiveFileName("pack.zip");
  reader.SetKeepArchiveOpen(true);
  TZipReaderEvents events;
  events.OnSkippingFile = [](TZipSkipReason, const std::string&, std::size_t, bool& aRetry) {
    aRetry = false;
  };
  reader.SetEvents(std::move(events));
  if (!reader.ReadDirectory()) return 0;
  reader.SetDestinationFolder("out");
  reader.SetRecreateFolders(true);
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const TZipEntry& entry = reader.Entry(i);
    (void)MatchesMaskList(entry.FullName, "*.*;[a-m]*;?x[!y]*");
    reader.ClearSelection();
    reader.Select(i);
    const std::uint64_t writtenBefore = files.BytesWritten();
    reader.ExtractSelected();
    // Nothing beyond the entry's declared size may ever be written.
    if (files.BytesWritten() - writtenBefore > entry.UncompressedSize) __builtin_trap();
  }
  return 0;
}

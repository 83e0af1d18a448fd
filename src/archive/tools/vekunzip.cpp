// vekunzip: extracts a pack into a folder with the installer's own reader, natively.
//   vekunzip [-l] [-n] [-j] [-q] pack.zip [folder]
//   -l  list the entries instead of extracting
//   -n  never replace an existing file
//   -j  put every file directly into the folder (no stored folders)
//   -q  print nothing but problems
// Exit code 0 when every entry was extracted, 1 when an entry was skipped or damaged, 2 when
// the pack could not be read or the command line is wrong.
#include <cstdio>
#include <cstring>
#include <string>

#include "archive/DosDateTime.h"
#include "archive/ZipFiles.h"
#include "archive/ZipReader.h"

namespace {

using namespace vek;

struct TOptions {
  bool List = false, NoOverwrite = false, Flat = false, Quiet = false;
  std::string Pack, Folder = ".";
};

bool ParseOptions(int aArgc, char** aArgv, TOptions& aOptions) {
  int positional = 0;
  for (int i = 1; i < aArgc; ++i) {
    const std::string arg = aArgv[i];
    if (arg == "-l")
      aOptions.List = true;
    else if (arg == "-n")
      aOptions.NoOverwrite = true;
    else if (arg == "-j")
      aOptions.Flat = true;
    else if (arg == "-q")
      aOptions.Quiet = true;
    else if (positional == 0 && arg[0] != '-')
      aOptions.Pack = arg, ++positional;
    else if (positional == 1 && arg[0] != '-')
      aOptions.Folder = arg, ++positional;
    else
      return false;
  }
  return positional > 0;
}

const char* ReasonText(TZipSkipReason aReason) {
  switch (aReason) {
    case srBadPassword: return "encrypted";
    case srNoOverwrite: return "exists, not replaced";
    case srFileOpenError: return "cannot replace the target";
    case srCreateError: return "cannot create the target";
    case srExcludeList:
    case srArchiveBitNotSet:
    case srNoFileToFreshen:
    case srSkippedInStartZip: return "skipped";
    case srUnsafeName: return "unsafe name";
    case srUnsupportedMethod: return "unsupported compression method";
    case srDamagedEntry: return "damaged";
    case srDiskFull: return "disk full";
  }
  return "skipped";
}

void List(const TZipReader& aReader) {
  for (std::size_t i = 0; i < aReader.Count(); ++i) {
    const TZipEntry& entry = aReader.Entry(i);
    const TDosDateTime t = SplitDosDateTime(entry.DosDateTime);
    std::printf("%12llu  %04d-%02d-%02d %02d:%02d:%02d  %08x  %s\n",
                static_cast<unsigned long long>(entry.UncompressedSize), t.Year, t.Month, t.Day, t.Hour,
                t.Minute, t.Second, entry.Crc, entry.FullName.c_str());
  }
}

int Extract(TZipReader& aReader, const TOptions& aOptions) {
  int problems = 0;
  TZipReaderEvents events;
  events.OnStartUnZip = [&](std::size_t, const std::string& aName) {
    if (!aOptions.Quiet) std::printf("  %s\n", aName.c_str());
  };
  events.OnBadCRC = [&](std::uint32_t aCalculated, std::uint32_t aStored, std::size_t aIndex) {
    std::fprintf(stderr, "bad CRC %08x (expected %08x): %s\n", aCalculated, aStored,
                 aReader.Entry(aIndex).FullName.c_str());
    ++problems;
  };
  events.OnSkippingFile = [&](TZipSkipReason aReason, const std::string& aName, std::size_t, bool&) {
    std::fprintf(stderr, "skipped (%s): %s\n", ReasonText(aReason), aName.c_str());
    ++problems;
  };
  aReader.SetEvents(std::move(events));
  aReader.SetDestinationFolder(aOptions.Folder);
  aReader.SetRecreateFolders(!aOptions.Flat);
  aReader.SetOverwriteMode(aOptions.NoOverwrite ? omNever : omAlways);
  for (std::size_t i = 0; i < aReader.Count(); ++i) aReader.Select(i);
  aReader.ExtractSelected();
  return problems == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: vekunzip [-l] [-n] [-j] [-q] pack.zip [folder]\n");
    return 2;
  }
  TZipReader reader(NativeZipFiles());
  reader.SetArchiveFileName(options.Pack);
  reader.SetKeepArchiveOpen(true);
  if (!reader.ReadDirectory()) {
    std::fprintf(stderr, "%s: %s\n", options.Pack.c_str(), reader.ErrorMessage().c_str());
    return 2;
  }
  if (options.List) {
    List(reader);
    return 0;
  }
  return Extract(reader, options);
}

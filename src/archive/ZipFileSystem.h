#pragma once
// Where the reader gets its pack and puts the entries: opening the pack by name, making
// folders, and writing one entry as a new file that only replaces the target once it is
// complete. One implementation per platform (ZipFiles.h) and one in memory (MemoryZipFiles.h).
#include <cstdint>
#include <memory>
#include <string>

#include "archive/ZipInput.h"
#include "archive/ZipSkipReason.h"

namespace vek {

// One entry being written. Until Commit succeeds the target is untouched; destroying an
// output that was not committed throws away what was written.
class IZipOutput {
 public:
  virtual ~IZipOutput() = default;
  virtual bool Write(const unsigned char* aData, std::size_t aCount) = 0;
  // Gives the file the entry's DOS date and time and puts it in place of the target.
  virtual bool Commit(std::uint32_t aDosDateTime) = 0;
  // Whether the last failed Write failed because the drive is full.
  virtual bool NoSpace() const { return false; }
};

class IZipFileSystem {
 public:
  virtual ~IZipFileSystem() = default;

  // The character that joins folder names in paths of this file system.
  virtual char PathDelimiter() const = 0;
  // Opens a pack for reading; null with aError set (a readable sentence) when it cannot.
  virtual std::unique_ptr<IZipInput> OpenInput(const std::string& aPath, std::string& aError) = 0;
  virtual bool FileExists(const std::string& aPath) = 0;
  // Creates the folder and every missing parent; true when the folder exists afterwards.
  virtual bool ForceFolders(const std::string& aPath) = 0;
  // Starts writing the file aPath; null with aFailure set when that is refused.
  virtual std::unique_ptr<IZipOutput> CreateOutput(const std::string& aPath, TZipSkipReason& aFailure) = 0;
};

}  // namespace vek

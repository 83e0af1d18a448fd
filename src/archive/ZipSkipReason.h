#pragma once
// Why the reader did not extract an entry, as reported by its skipping-file event.

namespace vek {

enum TZipSkipReason {
  srBadPassword,    // the entry is encrypted; the installer never has a password
  srNoOverwrite,    // the target exists and the overwrite mode forbids replacing it
  srFileOpenError,  // the finished file could not be put in place of the target
  srCreateError,    // the target, its temporary file or its folder could not be created or written
  srExcludeList,
  srArchiveBitNotSet,
  srNoFileToFreshen,
  srSkippedInStartZip,
  // Reasons of this reader beyond the customary ones above:
  srUnsafeName,         // the name is absolute, names a drive, share or device, or climbs out with ".."
  srUnsupportedMethod,  // compressed with a method other than stored or deflated
  srDamagedEntry,       // the entry's data cannot be read, disagrees with the directory or is corrupt
  srDiskFull,           // the drive ran out of space while the file was written
};

}  // namespace vek

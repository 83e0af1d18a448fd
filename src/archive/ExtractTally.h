#pragma once
// What became of the matching entries of the pack files: the counts a run reports in its
// result file.
#include <cstdint>

namespace vek {

struct TExtractTally {
  std::uint64_t installed = 0;  // extracted into place
  std::uint64_t kept = 0;       // left as they were by the newer-only or unpack-mode rules
  std::uint64_t skipped = 0;    // left out by a skip decision before extraction (a read-only target)
  std::uint64_t failed = 0;     // could not be extracted (damaged, unsafe, not writable, aborted)
};

}  // namespace vek

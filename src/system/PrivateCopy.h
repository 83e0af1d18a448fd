#pragma once
// A copy that the run makes for itself in a folder others may write to (the temporary folder),
// and then starts or reads as its own: the relaunched program, its script, the copy of a
// cleanup record. Whatever lay under the target name before (a stale copy, or a file planted
// there by someone else) is removed first; the copy is created anew, never written into a file
// another made; it is compared with its source; and it stays held against writers and
// deletion until the holder lets go (once its program has started or its text has been read).
#include <string>

#include "system/SysResult.h"

namespace vek {

class TPrivateCopy {
 public:
  TPrivateCopy() = default;
  TPrivateCopy(const TPrivateCopy&) = delete;
  TPrivateCopy& operator=(const TPrivateCopy&) = delete;
  ~TPrivateCopy() { Release(); }

  // Copies aFrom to aTo as above, clearing the copy's attributes. On failure the copy, if one
  // was made, is deleted again, so that nothing under aTo is taken for the run's own.
  SysResult Make(const std::string& aFrom, const std::string& aTo);
  // Lets others write to and delete the copy again.
  void Release();

 private:
  void* fHold = nullptr;
};

}  // namespace vek

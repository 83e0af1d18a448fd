#pragma once
// Tells, from one listing per folder, which names cannot be there.
//
// Under Wine every look-up of a missing name reads its whole folder (the names are compared
// without regard to case), so asking for many missing names in a large folder costs the square
// of its size. A cleanup asks once per file for a backup copy that is rarely there; one listing
// per folder answers all of those questions.
//
// The listing is taken when a folder is first asked about and is not read again: it is meant
// for a pass that removes files and creates none. A name it holds may still be gone (the pass
// deleted it), so a caller asks the file system about those; only a name it lacks is settled.
//
// A listing keeps a sorted 64-bit hash of each upper-cased name, not the name: eight bytes a
// file instead of a tree node and a string, for folders of tens of thousands of files. Two
// names with one hash only make a missing name "may exist", which the caller then asks the file
// system about, as for a name that is there.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/CaseMap.h"

namespace vek {

class TFolderNameCache {
 public:
  // False when aPath's name was not in its folder when the folder was listed; true when it was,
  // or when the folder could not be listed (the caller then asks the file system as before).
  bool MayExist(const std::string& aPath);

 private:
  struct TListing {
    bool listed = false;
    std::vector<std::uint64_t> nameHashes;  // sorted
  };
  std::map<std::string, TListing, TextLess> fFolders;
};

}  // namespace vek

#pragma once
// Option lists for the page tests and the page host: a small product with the cases the pages
// must draw (a subset, sizes above 4 GB, an option without sub-options, folder aliases), or a
// long list of generated options.
#include <cstdint>
#include <memory>

#include "script/InstallOptions.h"

namespace vek {

inline constexpr std::int64_t kSampleGb = 1024LL * 1024 * 1024;

// 0 "Program" (C:\Vek\Notes): "Program files" *.* 5 GB selected, "Help" *.chm 1.5 MB.
// 1 "Tools": one sub-option "Converter" with *.dll, 300 KB.
// 2 "Samples" (D:\Samples): "Letters" *.* 20 KB, "Pictures" *.* 3 MB with the alias
//   "D:\Old\Pictures", "Sounds" *.wav;*.mid 700 KB.
// 3 "Fonts": no sub-options.
// aHugeBytes, when not 0, is the size of a fifth option "Archive" (C:\Vek\Archive), selected.
std::unique_ptr<TMainOptionList> SampleOptions(std::int64_t aHugeBytes = 0);

// aCount options "Option N", each with two sub-options of N KB and 4 GB + N bytes, the first
// of each selected.
std::unique_ptr<TMainOptionList> ManyOptions(int aCount);

}  // namespace vek

#pragma once
// The path the location page proposes: the install path with the product's root folder added.
#include <string>

namespace vek {

// aPath with the folder name aRoot as its last component: a path that already names aRoot
// loses its trailing "\" and gets aRoot only when its last component is another folder; a path
// without aRoot gets it appended with one "\" between. An empty aRoot leaves aPath unchanged.
std::string AddRootFolder(const std::string& aPath, const std::string& aRoot);

}  // namespace vek

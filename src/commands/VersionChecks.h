#pragma once
// The version tests an update must pass ("UVersionCheck"), read from the script file on disk
// with the language override: File, File1 ... File10 with their Error texts. Each line is
// "file,section,test"; its three parts are expanded before the test is set up from them.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/ValueReference.h"
#include "commands/VerTest.h"

namespace vek {

std::vector<TFileVersionCheck> LoadVersionChecks(const TValueSource& aSource, std::string_view aLangCode,
                                                 const std::string& aScriptFile, bool aNetInstall,
                                                 const std::function<std::string(std::string_view)>& aExpand);

}  // namespace vek

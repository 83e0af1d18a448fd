#pragma once
// Language text N: the single entry point through which every fixed text the installer shows
// or logs is asked for by number, in the selected language with English as fallback.
// A number without a row gives an empty text.
#include <string>

namespace vek {

std::string LanguageText(int aId);

}  // namespace vek

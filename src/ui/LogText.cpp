#include "ui/LogText.h"

namespace vek {

std::string LogText(const std::vector<std::string>& aLines) {
  std::string text;
  for (const std::string& line : aLines) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\r' || line[i] == '\n') {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
        text += "\r\n";
      } else {
        text += line[i];
      }
    }
    text += "\r\n";
  }
  return text;
}

std::u16string FileDialogFilter(const std::u16string& aText) {
  std::u16string filter = aText;
  if (filter.find(u'|') == std::u16string::npos) filter += u"|*.*";
  for (char16_t& c : filter) {
    if (c == u'|') c = u'\0';
  }
  filter.push_back(u'\0');
  filter.push_back(u'\0');
  return filter;
}

}  // namespace vek

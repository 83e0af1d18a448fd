// English texts used until the full language table is in place.
#include <iterator>

#include "language/LanguageText.h"

namespace vek {
namespace {

struct Row {
  int id;
  const char* text;
};

constexpr Row kRows[] = {
    {29, "is now installed ! "},
    {50, "The folder %s exists already.&&Install into this folder anyway?"},
    {51, "The folder \"%s\" cannot be created or opened."},
    {66, "The setup script \"%s\" cannot be found."},
    {67, "Error %d while copying \"%s\"."},
    {90, "\"%s\" is not a folder in which this system can be installed."},
    {104, "is now updated ! "},
    {107, "Unknown command-line switch \"%s\".&&Run \"%s /?\" for the switches this program knows."},
    {109, "Setup error"},
    {111, "&Yes"},
    {112, "&No"},
    {115, "Warning"},
    {118, "Information"},
    {119, "&Ignore"},
    {121, "&Retry"},
    {136, "&OK"},
    {138, "Create folder"},
    {160, "has been removed."},
    {164, "&Cancel"},
    {172, "Workstation setup of"},
    {173, "is now ready on this workstation."},
    {224, "%s needs to restart Windows. Restart now?"},
    {226, "%s needs you to log off and on again. Log off now?"},
};

}  // namespace

std::string LanguageText(int aId) {
  for (const Row& row : kRows) {
    if (row.id == aId) return row.text;
  }
  return {};
}

}  // namespace vek

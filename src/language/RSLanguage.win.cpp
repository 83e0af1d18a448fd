#include "language/RSLanguage.h"

#include <string>

#include "system/Resource.h"

namespace vek {

bool TRSLanguage::open() {
  close();
  std::string bytes;
  return ReadRawResource(ResourceName(), bytes) && OpenFromBytes(bytes);
}

}  // namespace vek

#pragma once
// TRSLanguage: the language table that the program carries as its raw-data resource
// (Windows build only; see RSLanguage.win.cpp).
#include "language/CDSLanguages.h"

namespace vek {

class TRSLanguage : public TCommonCDSLanguage {
 public:
  using TCommonCDSLanguage::TCommonCDSLanguage;

 protected:
  // Reads the resource named by ResourceName() from the running program.
  bool open() override;
};

}  // namespace vek

#pragma once
// The button sets of the wizard's button bar (TShowButtonType) as a table: which of the seven
// buttons show, which are enabled or disabled, which one is the default button (Enter), where Ok
// stands, and the caption that CancelBtn takes when it serves as Cancel, Continue, Abort or Stop.
#include <cstdint>

#include "engine/SetupEngineTypes.h"

namespace vek {

enum TNavButton : std::uint8_t { nbPrev, nbNext, nbExit, nbCancel, nbOk, nbYes, nbNo };
inline constexpr int kNavButtonCount = nbNo + 1;

constexpr std::uint8_t Bit(TNavButton aButton) { return static_cast<std::uint8_t>(1u << aButton); }

struct TButtonSet {
  std::uint8_t shown;    // bits of TNavButton; every other button is hidden
  std::uint8_t enable;   // shown buttons made enabled
  std::uint8_t disable;  // shown buttons made disabled; the others keep their state
  TNavButton defaultButton;
  bool okAtExit;       // OkBtn takes ExitBtn's place instead of NextBtn's
  int cancelCaption;   // language text for CancelBtn, 0 to leave it
};

const TButtonSet& ButtonSet(TShowButtonType aSet);

}  // namespace vek

#include "ui/ButtonSets.h"

#include <array>

#include "language/LanguageTextIds.h"

namespace vek {
namespace {

constexpr std::uint8_t kPrevNextExit = Bit(nbPrev) | Bit(nbNext) | Bit(nbExit);
constexpr std::uint8_t kYesNo = Bit(nbYes) | Bit(nbNo);
constexpr std::uint8_t kOkCancel = Bit(nbOk) | Bit(nbCancel);

// One row per TShowButtonType, in the order of the enumeration.
constexpr std::array<TButtonSet, sbStop + 1> kButtonSets{{
    {kPrevNextExit, kPrevNextExit, 0, nbNext, false, 0},                              // sbPrevNextExit
    {kPrevNextExit, Bit(nbPrev) | Bit(nbNext), Bit(nbExit), nbNext, false, 0},         // sbPrevNext
    {kPrevNextExit, Bit(nbNext) | Bit(nbExit), Bit(nbPrev), nbNext, false, 0},         // sbNextExit
    {kPrevNextExit, Bit(nbPrev), Bit(nbNext), nbPrev, false, 0},                       // sbPrevExit
    {kPrevNextExit, Bit(nbNext), Bit(nbPrev) | Bit(nbExit), nbNext, false, 0},         // sbNext
    {Bit(nbExit), 0, 0, nbExit, false, 0},                                             // sbExit
    {kYesNo, 0, 0, nbYes, false, 0},                                                   // sbYesNo
    {kYesNo, 0, 0, nbNo, false, 0},                                                    // sbYesNoDefault
    {kOkCancel, 0, 0, nbOk, false, txt::contr_Cancel},                                 // sbOkCancel
    {kOkCancel, 0, 0, nbOk, false, txt::contr_Abort},                                  // sbOkAbort
    {Bit(nbOk), 0, 0, nbOk, true, 0},                                                  // sbOk
    {Bit(nbCancel), 0, 0, nbCancel, false, txt::contr_Cancel},                         // SbCancel
    {Bit(nbCancel), 0, 0, nbCancel, false, txt::contr_Continue},                       // sbContinue
    {Bit(nbCancel), 0, 0, nbCancel, false, txt::contr_Abort},                          // sbAbort
    {Bit(nbCancel), 0, 0, nbCancel, false, txt::contr_Stop},                           // sbStop
}};
static_assert(kButtonSets.size() == sbStop + 1, "one row per button set");

}  // namespace

const TButtonSet& ButtonSet(TShowButtonType aSet) {
  return kButtonSets[aSet < kButtonSets.size() ? aSet : sbExit];
}

}  // namespace vek

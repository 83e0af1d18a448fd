#pragma once
// The owner-drawn check lists of the options page and the sub-option form: a list box of the
// standard class whose rows draw a state box, a caption and a size. A press in the column of
// the box, or Enter (and Space, as in any check list), toggles the row; the list then posts
// kCheckListToggle to its parent with the row. A double click outside that column reaches the
// parent as the list's usual LBN_DBLCLK.
#include <windows.h>

#include <string>

#include "ui/WizardPage.h"

namespace vek {

inline constexpr UINT kCheckListToggle = WM_APP + 0x41;  // wParam: the list's id, lParam: the row

// An owner-drawn list box (fixed rows that keep their strings, notifying its parent) with the
// toggling above; aScale gives the width of the state column.
HWND CreateCheckList(HWND aParent, int aId, const TUiScale& aScale);
// The scale the list measures its state column with (after a DPI change).
void SetCheckListScale(HWND aList, const TUiScale& aScale);

// The height of a row for aFont.
int CheckListRowHeight(HWND aList, HFONT aFont, const TUiScale& aScale);

// State -1 draws no box, 0 an empty one, 1 a ticked one, 2 a partly ticked one.
void DrawCheckRow(const DRAWITEMSTRUCT& aItem, int aState, const std::string& aCaption, const std::string& aSize,
                  const TUiScale& aScale);

}  // namespace vek

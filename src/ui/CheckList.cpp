#include "ui/CheckList.h"

#include <commctrl.h>
#include <windowsx.h>

#include "system/WinText.h"
#include "ui/DialogWindow.h"

namespace vek {

namespace {

constexpr UINT_PTR kSubclassId = 0x564B4C;  // this file's subclass of the list box

// The state column: x from 4 to 17 at 96 DPI, where the box is drawn.
bool InStateColumn(int aX, const TUiScale& aScale) { return aX >= aScale.Px(4) && aX <= aScale.Px(17); }

void PostToggle(HWND aList, int aRow) {
  if (aRow < 0) return;
  PostMessageW(GetParent(aList), kCheckListToggle, static_cast<WPARAM>(GetDlgCtrlID(aList)), aRow);
}

int RowAt(HWND aList, LPARAM aPoint) {
  const LRESULT hit = SendMessageW(aList, LB_ITEMFROMPOINT, 0, aPoint);
  if (HIWORD(hit) != 0) return -1;  // outside every row
  return static_cast<int>(LOWORD(hit));
}

LRESULT CALLBACK CheckListProc(HWND aList, UINT aMsg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR aScaleRef) noexcept {
  const TUiScale scale{static_cast<UINT>(aScaleRef)};
  switch (aMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!InStateColumn(GET_X_LPARAM(lParam), scale)) break;
      // A second press in the box is a second toggle, not a double click on the row.
      const LRESULT result = DefSubclassProc(aList, WM_LBUTTONDOWN, wParam, lParam);
      PostToggle(aList, RowAt(aList, lParam));
      return result;
    }
    case WM_GETDLGCODE:
      if (lParam != 0) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
          return DefSubclassProc(aList, aMsg, wParam, lParam) | DLGC_WANTMESSAGE;
        }
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        PostToggle(aList, static_cast<int>(SendMessageW(aList, LB_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == L' ') return 0;  // handled at the key press
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(aList, CheckListProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(aList, aMsg, wParam, lParam);
}

}  // namespace

HWND CreateCheckList(HWND aParent, int aId, const TUiScale& aScale) {
  const HWND list = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
          LBS_NOINTEGRALHEIGHT,
      0, 0, 10, 10, aParent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(aId)), GetModuleHandleW(nullptr), nullptr);
  if (list != nullptr) SetWindowSubclass(list, CheckListProc, kSubclassId, aScale.dpi);
  return list;
}

void SetCheckListScale(HWND aList, const TUiScale& aScale) {
  SetWindowSubclass(aList, CheckListProc, kSubclassId, aScale.dpi);
}

int CheckListRowHeight(HWND aList, HFONT aFont, const TUiScale& aScale) {
  const int forText = FontHeight(aList, aFont) + aScale.Px(8);
  return forText > aScale.Px(21) ? forText : aScale.Px(21);
}

void DrawCheckRow(const DRAWITEMSTRUCT& aItem, int aState, const std::string& aCaption, const std::string& aSize,
                  const TUiScale& aScale) {
  const HDC dc = aItem.hDC;
  RECT row = aItem.rcItem;
  const bool selected = (aItem.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (aState >= 0) {
    RECT box{row.left + aScale.Px(4), row.top + aScale.Px(4), row.left + aScale.Px(17), row.top + aScale.Px(17)};
    UINT look = DFCS_BUTTONCHECK | DFCS_FLAT;
    if (aState == 1) look |= DFCS_CHECKED;
    if (aState == 2) look = DFCS_BUTTON3STATE | DFCS_CHECKED | DFCS_FLAT;
    DrawFrameControl(dc, &box, DFC_BUTTON, look);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring size = Wide(aSize);
  RECT sizeRect{row.left, row.top + aScale.Px(4), row.right - aScale.Px(4), row.bottom};
  SIZE sizeExtent{};
  GetTextExtentPoint32W(dc, size.c_str(), static_cast<int>(size.size()), &sizeExtent);
  DrawTextW(dc, size.c_str(), static_cast<int>(size.size()), &sizeRect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
  const std::wstring caption = Wide(aCaption);
  RECT captionRect{row.left + aScale.Px(20), row.top + aScale.Px(4), sizeRect.right - sizeExtent.cx - aScale.Px(8),
                   row.bottom};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &captionRect,
            DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((aItem.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &row);
}

}  // namespace vek

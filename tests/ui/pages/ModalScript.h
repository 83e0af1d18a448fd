#pragma once
// Answers the modal windows that a call opens in this thread: each step gets the newest
// enabled top-level window of the thread (other than the ones given at the start) and must end
// it, or open the next one. A thread timer runs the steps, so they run inside the modal
// loops; a step that leaves its window open is a test failure, and after the hang guard every
// window still open is closed so that the call returns.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vek {

using TModalStep = std::function<void(HWND aWindow)>;

// Runs aCall while aSteps answer its modal windows; false when a step never got its window.
bool RunWithModalSteps(const std::function<void()>& aCall, std::vector<TModalStep> aSteps);

// Every text of aWindow and its children, joined by new lines.
std::string WindowTexts(HWND aWindow);
// Clicks the button of aWindow whose text (without "&") is aCaption, or the first enabled
// button when aCaption is empty.
void ClickButton(HWND aWindow, const std::string& aCaption = {});
// Sends a press (and release) of the left button at aX, aY in a row of the list box aList.
void ClickListRow(HWND aList, int aRow, int aX);
// Sends a key press to aWindow, as the dialog manager would deliver it.
void PressKey(HWND aWindow, WPARAM aKey);
// Dispatches every message waiting in this thread's queue.
void PumpMessages();

}  // namespace vek

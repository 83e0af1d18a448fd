#pragma once
// The keyboard state that modifies what a click does.
namespace vek {

// The Ctrl key was held down when the message being handled was sent, that is, when the user
// clicked; a key pressed or released since then does not change the answer.
bool IsCtrlDown();

}  // namespace vek

#pragma once
// Long operations that run on the user-interface thread watch the front end's stop button
// themselves: a release of the left mouse button over it is taken out of the message queue.
namespace vek {

// True when a left-button release for the window is pending; the message is removed.
// A null handle never has one.
bool TakeButtonRelease(void* aButtonWindow);

}  // namespace vek

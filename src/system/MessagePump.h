#pragma once
// Lets the window of the running step react while long work runs on the main thread: the
// wizard's cancel button can then set a flag that the work reads between its steps.
namespace vek {

// Dispatches every message waiting in this thread's queue and returns. A quit request is put
// back into the queue for the main message loop to see.
void ProcessPendingMessages();

}  // namespace vek

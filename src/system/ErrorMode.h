#pragma once
// While an object of this class lives, the calling thread gets no system message box for a
// drive without medium or a file that cannot be opened ("There is no disk in the drive"): the
// call fails with an error code instead, which the caller reports in its own words. The
// thread's previous error mode comes back when the object ends.
namespace vek {

class QuietErrorMode {
 public:
  QuietErrorMode();
  ~QuietErrorMode();
  QuietErrorMode(const QuietErrorMode&) = delete;
  QuietErrorMode& operator=(const QuietErrorMode&) = delete;

 private:
  unsigned long fPrevious = 0;
  bool fChanged = false;
};

}  // namespace vek

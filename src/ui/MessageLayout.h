#pragma once
// The arithmetic of the message dialog, apart from any window so that it is tested natively:
// the lines of a message, their wrapping to a width, and where every part of the dialog goes.
//
// Figures are written for 96 DPI and scaled to the window's DPI. Within the work area the
// dialog is laid out as follows (96 DPI):
//   - line n (from 1) at y = 16 n, 16 high (or the font's line height when that is taller),
//     centred between the icon and the right edge;
//   - the icon at (10, 10) in its own size, which moves the lines' centre right by its
//     width + 10;
//   - width: the widest of the longest line + 20 + icon part, the caption + 20, and the button
//     row (n × 81 + (n − 1) × 20) + 20, each plus the frame's width, and never wider than the
//     work area (longer lines are wrapped to fit);
//   - the check box below the lines, the buttons 81 wide and 101 apart in a centred row below it;
//     every line beyond the first makes the dialog one line taller, a missing check box 30 less;
//   - a message with more lines than the work area holds goes into one scrolling text area
//     that fills the height left.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vek {

// The lines of a message: "&&" separates them; a trailing "&&" gives an empty last line.
std::vector<std::string> MessageLines(std::string_view aMessage);

// How many UTF-16 units from the start of aText fit into aWidth pixels (the window measures).
using TTextFit = std::function<std::size_t(std::u16string_view aText, int aWidth)>;

// Cuts one line into pieces that fit aWidth: after the last space that fits, otherwise (a word
// or a script without spaces) after the last character that fits, never inside a surrogate
// pair, at least one character per piece. Stops after aMaxPieces pieces, so that a huge text is
// not measured to its end when only the first pieces can be shown; *aComplete tells whether the
// whole line was taken.
std::vector<std::u16string> WrapLine(std::u16string_view aLine, int aWidth, const TTextFit& aFit,
                                     std::size_t aMaxPieces, bool* aComplete);

// What the window measured, in pixels at its DPI.
struct TMessageMetrics {
  int dpi = 96;
  int frameWidth = 0;     // the window's width less its client area's
  int frameHeight = 0;    // the window's height less its client area's
  int workWidth = 0;      // the monitor's work area
  int workHeight = 0;
  int captionWidth = 0;   // the caption's text and the caption buttons
  int iconSize = 0;       // 0: no icon
  int lineHeight = 0;     // of the message font
  int scrollBarWidth = 0;
  int buttonCount = 0;
  bool showCheckBox = false;
  int checkTextWidth = 0;
  int checkBoxSize = 0;   // the check mark's square, the check box's own height
};

struct TBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TBox&) const = default;
};

struct TMessageLayout {
  int width = 0, height = 0;     // the window's outer size
  std::vector<TBox> lines;       // one label per line, in client coordinates
  TBox icon;                     // empty without an icon
  TBox checkBox;                 // empty without a check box
  std::vector<TBox> buttons;
  bool scrolling = false;        // the message goes into textArea instead of labels
  TBox textArea;
};

// A figure written for 96 DPI at aDpi.
int ScaleTo(int aAt96, int aDpi);

// The widest a message line may be before it is wrapped, and how many lines fit the height.
int MaxLineWidth(const TMessageMetrics& aMetrics);
std::size_t MaxLineCount(const TMessageMetrics& aMetrics);

// aLineWidths: the measured widths of the (wrapped) lines. With aScrolling the lines are not
// laid out one by one: the text area takes their place.
TMessageLayout LayoutMessageDialog(const TMessageMetrics& aMetrics, const std::vector<int>& aLineWidths,
                                   bool aScrolling);

}  // namespace vek

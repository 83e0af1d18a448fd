#include "ui/MessageLayout.h"

#include <algorithm>

namespace vek {
namespace {

// The figures of the dialog at 96 DPI.
constexpr int kLineStep = 16;
constexpr int kIconAt = 10;
constexpr int kIconGap = 10;
constexpr int kSideRoom = 20;
constexpr int kButtonWidth = 81;
constexpr int kButtonGap = 20;
constexpr int kButtonHeight = 25;
constexpr int kRowGap = 12;       // between the message and the check box or buttons, and below them
constexpr int kCheckRow = 30;     // the check box's row, from its top to the buttons' top
constexpr int kCheckHeight = 17;
constexpr int kTextAreaMargin = 10;
constexpr int kMinScrollingLines = 3;

struct TScaled {
  int dpi;
  int operator()(int aAt96) const { return ScaleTo(aAt96, dpi); }
};

int LineStep(const TMessageMetrics& aMetrics) {
  return std::max(ScaleTo(kLineStep, aMetrics.dpi), aMetrics.lineHeight);
}

// The part of the width left of the lines' centre that the icon takes.
int IconPart(const TMessageMetrics& aMetrics) {
  return aMetrics.iconSize > 0 ? aMetrics.iconSize + ScaleTo(kIconGap, aMetrics.dpi) : 0;
}

int ButtonRowWidth(const TMessageMetrics& aMetrics) {
  const TScaled s{aMetrics.dpi};
  const int count = aMetrics.buttonCount;
  return count * s(kButtonWidth) + std::max(count - 1, 0) * s(kButtonGap);
}

// The client height of the dialog when the lines take aLinesHeight (one line's step for one line).
int ClientHeight(const TMessageMetrics& aMetrics, int aLinesHeight) {
  const TScaled s{aMetrics.dpi};
  const int step = LineStep(aMetrics);
  const int oneLineBottom = std::max(2 * step, aMetrics.iconSize > 0 ? s(kIconAt) + aMetrics.iconSize : 0);
  const int checkTop = oneLineBottom + s(kRowGap) + (aLinesHeight - step);
  const int buttonTop = checkTop + (aMetrics.showCheckBox ? s(kCheckRow) : 0);
  return buttonTop + s(kButtonHeight) + s(kRowGap);
}

}  // namespace

std::vector<std::string> MessageLines(std::string_view aMessage) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = aMessage.find("&&"); at != std::string_view::npos; at = aMessage.find("&&", start)) {
    lines.emplace_back(aMessage.substr(start, at - start));
    start = at + 2;
  }
  lines.emplace_back(aMessage.substr(start));
  return lines;
}

std::vector<std::u16string> WrapLine(std::u16string_view aLine, int aWidth, const TTextFit& aFit,
                                     std::size_t aMaxPieces, bool* aComplete) {
  std::vector<std::u16string> pieces;
  std::u16string_view rest = aLine;
  bool first = true;
  while ((first || !rest.empty()) && pieces.size() < aMaxPieces) {
    first = false;
    std::size_t fits = std::min(aFit(rest, aWidth), rest.size());
    if (fits == rest.size()) {
      pieces.emplace_back(rest);
      rest = {};
      break;
    }
    if (fits == 0) fits = 1;
    // A pair of surrogates is one character: cut before it, or after it when it is all that fits.
    if (rest[fits] >= 0xDC00 && rest[fits] <= 0xDFFF) fits = fits > 1 ? fits - 1 : std::min<std::size_t>(2, rest.size());
    const std::size_t space = rest.substr(0, fits + 1).rfind(u' ');
    const std::size_t cut = space != std::u16string_view::npos && space > 0 ? space : fits;
    std::u16string_view piece = rest.substr(0, cut);
    while (piece.size() > 1 && piece.back() == u' ') piece.remove_suffix(1);
    pieces.emplace_back(piece);
    rest.remove_prefix(cut);
    while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
  }
  if (aComplete) *aComplete = rest.empty();
  return pieces;
}

int ScaleTo(int aAt96, int aDpi) {
  // Rounded half away from zero, as the system's MulDiv does.
  const long long product = static_cast<long long>(aAt96) * aDpi;
  return static_cast<int>(product >= 0 ? (product + 48) / 96 : (product - 48) / 96);
}

int MaxLineWidth(const TMessageMetrics& aMetrics) {
  const int room = aMetrics.workWidth - aMetrics.frameWidth - ScaleTo(kSideRoom, aMetrics.dpi) - IconPart(aMetrics);
  return std::max(room, ScaleTo(kSideRoom, aMetrics.dpi));
}

std::size_t MaxLineCount(const TMessageMetrics& aMetrics) {
  const int step = LineStep(aMetrics);
  const int room = aMetrics.workHeight - aMetrics.frameHeight - ClientHeight(aMetrics, step);
  return 1 + static_cast<std::size_t>(std::max(room, 0) / step);
}

TMessageLayout LayoutMessageDialog(const TMessageMetrics& aMetrics, const std::vector<int>& aLineWidths,
                                   bool aScrolling) {
  const TScaled s{aMetrics.dpi};
  const int step = LineStep(aMetrics);
  const int iconPart = IconPart(aMetrics);
  const int border = aMetrics.frameWidth;
  int longest = aLineWidths.empty() ? 0 : *std::max_element(aLineWidths.begin(), aLineWidths.end());
  if (aScrolling) longest = std::min(longest, MaxLineWidth(aMetrics)) + aMetrics.scrollBarWidth + s(kTextAreaMargin);

  TMessageLayout layout;
  layout.width = std::max({longest + s(kSideRoom) + border + iconPart, aMetrics.captionWidth + s(kSideRoom) + border,
                           ButtonRowWidth(aMetrics) + s(kSideRoom) + border});
  layout.width = std::min(layout.width, aMetrics.workWidth);
  const int clientWidth = layout.width - border;

  if (aMetrics.iconSize > 0) layout.icon = {s(kIconAt), s(kIconAt), aMetrics.iconSize, aMetrics.iconSize};

  int linesHeight = step;
  layout.scrolling = aScrolling;
  if (aScrolling) {
    const int room = aMetrics.workHeight - aMetrics.frameHeight - ClientHeight(aMetrics, 0);
    linesHeight = std::max(room, kMinScrollingLines * step);
    layout.textArea = {iconPart + s(kTextAreaMargin), step, clientWidth - iconPart - 2 * s(kTextAreaMargin),
                       linesHeight};
  } else if (!aLineWidths.empty()) {
    linesHeight = static_cast<int>(aLineWidths.size()) * step;
    const int centre = (clientWidth - iconPart) / 2 + iconPart;
    int top = step;
    for (const int width : aLineWidths) {
      layout.lines.push_back({centre - width / 2, top, width, step});
      top += step;
    }
  }

  const int clientHeight = ClientHeight(aMetrics, linesHeight);
  layout.height = clientHeight + aMetrics.frameHeight;
  const int buttonTop = clientHeight - s(kRowGap) - s(kButtonHeight);
  if (aMetrics.showCheckBox) {
    const int width = std::min(aMetrics.checkTextWidth + aMetrics.checkBoxSize, clientWidth - s(kSideRoom));
    layout.checkBox = {(clientWidth - width) / 2, buttonTop - s(kCheckRow), width,
                       std::max(s(kCheckHeight), aMetrics.checkBoxSize)};
  }
  int left = (clientWidth - ButtonRowWidth(aMetrics)) / 2;
  for (int i = 0; i < aMetrics.buttonCount; ++i) {
    layout.buttons.push_back({left, buttonTop, s(kButtonWidth), s(kButtonHeight)});
    left += s(kButtonWidth) + s(kButtonGap);
  }
  return layout;
}

}  // namespace vek

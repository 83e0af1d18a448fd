#include "ui/MessageLayout.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vek {
namespace {

TEST(MessageLines, DoubleAmpersandsSeparateLines) {
  const struct {
    const char* message;
    std::vector<std::string> lines;
  } cases[] = {
      {"One line", {"One line"}},
      {"First&&Second&&Third", {"First", "Second", "Third"}},
      {"Trailing&&", {"Trailing", ""}},
      {"&&", {"", ""}},
      {"", {""}},
      {"A & B&&&C", {"A & B", "&C"}},  // a single "&" stays; the first pair of three separates
  };
  for (const auto& c : cases) EXPECT_EQ(MessageLines(c.message), c.lines) << c.message;
}

// One pixel per UTF-16 unit.
std::size_t FitByUnits(std::u16string_view aText, int aWidth) {
  return std::min(aText.size(), static_cast<std::size_t>(aWidth));
}

TEST(WrapLine, CutsAfterTheLastSpaceThatFitsElseInsideTheWord) {
  const struct {
    std::u16string line;
    int width;
    std::vector<std::u16string> pieces;
  } cases[] = {
      {u"short", 10, {u"short"}},
      {u"", 10, {u""}},
      {u"one two three", 8, {u"one two", u"three"}},
      {u"one two three", 7, {u"one two", u"three"}},  // the space right after what fits is a cut
      {u"abcdefghij", 4, {u"abcd", u"efgh", u"ij"}},  // no space: cut where the width ends
      {u"many    spaces", 6, {u"many", u"spaces"}},
      {u"\u4E2D\u6587\u4E2D\u6587\u4E2D", 2, {u"\u4E2D\u6587", u"\u4E2D\u6587", u"\u4E2D"}},
      {u"x", 0, {u"x"}},                             // at least one character per piece
      {u"a\U0001F600b", 2, {u"a", u"\U0001F600", u"b"}},  // never inside a surrogate pair
      {u"\U0001F600\U0001F600", 1, {u"\U0001F600", u"\U0001F600"}},
  };
  for (const auto& c : cases) {
    bool complete = false;
    EXPECT_EQ(WrapLine(c.line, c.width, FitByUnits, 100, &complete), c.pieces);
    EXPECT_TRUE(complete);
  }
}

TEST(WrapLine, StopsAfterTheLastPieceThatCanBeShown) {
  const std::u16string huge(100000, u'x');
  int measured = 0;
  const TTextFit counting = [&](std::u16string_view aText, int aWidth) {
    ++measured;
    return FitByUnits(aText, aWidth);
  };
  bool complete = true;
  EXPECT_EQ(WrapLine(huge, 500, counting, 3, &complete).size(), 3u);
  EXPECT_FALSE(complete);
  EXPECT_EQ(measured, 3);
}

TMessageMetrics Metrics() {
  TMessageMetrics m;
  m.frameWidth = 8;
  m.frameHeight = 30;
  m.workWidth = 1280;
  m.workHeight = 1000;
  m.captionWidth = 60;
  m.iconSize = 32;
  m.lineHeight = 13;
  m.scrollBarWidth = 17;
  m.buttonCount = 2;
  return m;
}

TEST(MessageLayout, EveryLineBeyondTheFirstMakesTheDialogOneLineTaller) {
  const TMessageMetrics m = Metrics();
  const TMessageLayout one = LayoutMessageDialog(m, {100}, false);
  const TMessageLayout three = LayoutMessageDialog(m, {100, 80, 60}, false);
  EXPECT_EQ(three.height - one.height, 32);
  ASSERT_EQ(three.lines.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(three.lines[i].top, 16 * static_cast<int>(i + 1));
  EXPECT_EQ(three.buttons[0].top - one.buttons[0].top, 32);
}

TEST(MessageLayout, ThreeButtonsSetTheWidthAndStand101Apart) {
  TMessageMetrics m = Metrics();
  m.buttonCount = 3;
  const TMessageLayout layout = LayoutMessageDialog(m, {10}, false);
  EXPECT_EQ(layout.width, 3 * 81 + 2 * 20 + 20 + m.frameWidth);
  ASSERT_EQ(layout.buttons.size(), 3u);
  EXPECT_EQ(layout.buttons[1].left - layout.buttons[0].left, 101);
  EXPECT_EQ(layout.buttons[2].left - layout.buttons[1].left, 101);
  EXPECT_EQ(layout.buttons[0].width, 81);
  // The row is centred in the client area.
  const int clientWidth = layout.width - m.frameWidth;
  EXPECT_EQ(layout.buttons[0].left, (clientWidth - 303 + 20) / 2);
}

TEST(MessageLayout, TheWidestOfLineCaptionAndButtonsWins) {
  const struct {
    const char* what;
    int line, caption, expected;
  } cases[] = {
      {"line", 400, 60, 400 + 20 + 8 + 42},
      {"long caption", 100, 600, 600 + 20 + 8},
      {"buttons", 10, 10, 2 * 81 + 20 + 20 + 8},
  };
  for (const auto& c : cases) {
    TMessageMetrics m = Metrics();
    m.captionWidth = c.caption;
    EXPECT_EQ(LayoutMessageDialog(m, {c.line}, false).width, c.expected) << c.what;
  }
}

TEST(MessageLayout, LinesAreCentredRightOfTheIconOrOnTheFullWidthWithout) {
  TMessageMetrics m = Metrics();
  const TMessageLayout withIcon = LayoutMessageDialog(m, {400, 200}, false);
  const int clientWidth = withIcon.width - m.frameWidth;
  EXPECT_EQ(withIcon.icon, (TBox{10, 10, 32, 32}));
  EXPECT_EQ(withIcon.lines[1].left + 100, (clientWidth - 42) / 2 + 42);
  m.iconSize = 0;
  const TMessageLayout without = LayoutMessageDialog(m, {400, 200}, false);
  EXPECT_EQ(without.icon, TBox{});
  EXPECT_EQ(without.lines[1].left + 100, (without.width - m.frameWidth) / 2);
}

TEST(MessageLayout, AMissingCheckBoxTakes30Less) {
  TMessageMetrics m = Metrics();
  const TMessageLayout without = LayoutMessageDialog(m, {100}, false);
  m.showCheckBox = true;
  m.checkTextWidth = 120;
  m.checkBoxSize = 13;
  const TMessageLayout with = LayoutMessageDialog(m, {100}, false);
  EXPECT_EQ(with.height - without.height, 30);
  EXPECT_EQ(with.checkBox.width, 133);
  EXPECT_EQ(with.checkBox.left, (with.width - m.frameWidth - 133) / 2);
  EXPECT_LT(with.lines[0].top + with.lines[0].height, with.checkBox.top);
  EXPECT_LE(with.checkBox.top + with.checkBox.height, with.buttons[0].top);
  EXPECT_EQ(without.checkBox, TBox{});
}

TEST(MessageLayout, FiguresScaleWithTheDpi) {
  for (const int dpi : {96, 144, 192}) {
    TMessageMetrics m = Metrics();
    m.dpi = dpi;
    m.iconSize = ScaleTo(32, dpi);
    m.buttonCount = 3;
    const TMessageLayout layout = LayoutMessageDialog(m, {10}, false);
    const int buttonWidth = ScaleTo(81, dpi);  // 121.5 rounds to 122 at 144 DPI
    EXPECT_EQ(layout.buttons[0].width, buttonWidth) << dpi;
    EXPECT_EQ(layout.buttons[1].left - layout.buttons[0].left, buttonWidth + ScaleTo(20, dpi)) << dpi;
    EXPECT_EQ(layout.lines[0].top, 16 * dpi / 96) << dpi;
    EXPECT_EQ(layout.width, 3 * buttonWidth + 3 * ScaleTo(20, dpi) + m.frameWidth) << dpi;
  }
}

TEST(MessageLayout, ATallerFontTakesItsOwnLineHeight) {
  TMessageMetrics m = Metrics();
  m.lineHeight = 20;
  const TMessageLayout layout = LayoutMessageDialog(m, {100, 100}, false);
  EXPECT_EQ(layout.lines[1].top, 40);
  EXPECT_EQ(layout.lines[1].height, 20);
}

TEST(MessageLayout, NeverLargerThanTheWorkArea) {
  TMessageMetrics m = Metrics();
  m.workWidth = 800;
  m.workHeight = 600;
  // Lines are wrapped to MaxLineWidth, so the widest line that comes in fits.
  EXPECT_EQ(LayoutMessageDialog(m, {MaxLineWidth(m)}, false).width, 800);
  const std::size_t fitting = MaxLineCount(m);
  const TMessageLayout full = LayoutMessageDialog(m, std::vector<int>(fitting, 100), false);
  EXPECT_LE(full.height, 600);
  EXPECT_GT(LayoutMessageDialog(m, std::vector<int>(fitting + 1, 100), false).height, 600);

  const TMessageLayout scrolling = LayoutMessageDialog(m, std::vector<int>(40, 5000), true);
  EXPECT_TRUE(scrolling.scrolling);
  EXPECT_TRUE(scrolling.lines.empty());
  EXPECT_EQ(scrolling.height, 600);
  EXPECT_LE(scrolling.width, 800);
  EXPECT_GT(scrolling.textArea.height, 3 * 16);
  EXPECT_LE(scrolling.textArea.left + scrolling.textArea.width, scrolling.width - m.frameWidth);
  EXPECT_LT(scrolling.textArea.top + scrolling.textArea.height, scrolling.buttons[0].top);
}

TEST(MessageLayout, NoButtonsNoLines) {
  TMessageMetrics m = Metrics();
  m.buttonCount = 0;
  const TMessageLayout layout = LayoutMessageDialog(m, {}, false);
  EXPECT_TRUE(layout.buttons.empty());
  EXPECT_TRUE(layout.lines.empty());
  EXPECT_EQ(layout.height, LayoutMessageDialog(m, {50}, false).height);
}

}  // namespace
}  // namespace vek

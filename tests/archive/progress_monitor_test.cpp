// The monitor's bar arithmetic: bytes outside, bar units inside, kilobytes when the bar
// refuses the byte count; and how extraction moves the bar.
#include "ExtractFixture.h"

namespace vek::test {
namespace {

TEST(ProgressMonitor, WithoutABarReadsGiveMinusOneAndWritesDoNothing) {
  TProgressMonitor monitor;
  monitor.SetMax(5000);
  monitor.SetPosition(10);
  EXPECT_EQ(monitor.Max(), -1);
  EXPECT_EQ(monitor.Min(), -1);
  EXPECT_EQ(monitor.Position(), -1);
  EXPECT_EQ(monitor.Faktor(), 1);
}

struct TScaleCase {
  int LargestMax;
  std::int64_t Max;
  int Faktor;
  int BarMax;
  std::int64_t MaxRead;
};

class ProgressScale : public testing::TestWithParam<TScaleCase> {};

TEST_P(ProgressScale, RefusedMaximumSwitchesToKilobytes) {
  TFakeBar bar(GetParam().LargestMax);
  TProgressMonitor monitor;
  monitor.SetProgressBar(&bar);
  monitor.SetMax(GetParam().Max);
  EXPECT_EQ(monitor.Faktor(), GetParam().Faktor);
  EXPECT_EQ(bar.Max(), GetParam().BarMax);
  EXPECT_EQ(monitor.Max(), GetParam().MaxRead);
  monitor.SetPosition(3000);
  EXPECT_EQ(bar.Position(), 3000 / GetParam().Faktor);
  EXPECT_EQ(monitor.Position(), 3000);  // known to the byte while the bar shows it
  bar.SetPosition(1);                   // moved by someone else: read back from the bar
  EXPECT_EQ(monitor.Position(), GetParam().Faktor);
}

INSTANTIATE_TEST_SUITE_P(Bars, ProgressScale,
                         testing::Values(TScaleCase{10000, 5000, 1, 5000, 5000},
                                         TScaleCase{1000, 5000, 1024, 4, 4096},
                                         // more bytes than a bar position can hold
                                         TScaleCase{INT32_MAX, 5'000'000'000, 1024, 4882812, 4882812LL * 1024}));

TEST(ProgressMonitor, PercentEventsMoveBothBarsFromTheFileStart) {
  TFakeBar bar, fileBar;
  TProgressMonitor monitor;
  monitor.SetProgressBar(&bar);
  monitor.SetFileProgressBar(&fileBar);
  std::vector<std::string> log;
  monitor.SetOnLogMessage([&](TProgressMonitor&, const std::string& aLine) { log.push_back(aLine); });
  monitor.SetMax(100000);
  monitor.SetPosition(1000);
  monitor.StartUnZip(20000, "dir/a.txt");
  EXPECT_EQ(monitor.CurrentFile(), "dir/a.txt");
  EXPECT_EQ(fileBar.Position(), 0);
  monitor.FilePercentDone(50);
  EXPECT_EQ(bar.Position(), 11000);
  EXPECT_EQ(fileBar.Position(), 50);
  EXPECT_EQ(log, std::vector<std::string>{"dir/a.txt"});
}

TEST_F(ExtractTest, RefusingBarEndsAtTheKilobytesOfTheMatchingEntries) {
  TFakeBar bar(1000);
  fMonitor.SetProgressBar(&bar);
  const std::string big(300000, 'x');
  fMonitor.SetMax(700000);
  ASSERT_EQ(fMonitor.Faktor(), 1024);
  TExtractCall call;
  call.Masks = {"*.dat"};
  Extract(WritePack(PackOf({EntryOf("a.dat", big), EntryOf("skip.txt", big), EntryOf("b.dat", big)})), call);
  EXPECT_EQ(bar.Position(), 600000 / 1024);
  // The bar never ran backwards or beyond its maximum while the files came out.
  EXPECT_TRUE(std::is_sorted(bar.Positions.begin(), bar.Positions.end()));
  EXPECT_LE(bar.Positions.back(), *bar.Max());
}

TEST_F(ExtractTest, FilesSmallerThanAKilobyteStillMoveARefusingBar) {
  TFakeBar bar(1000);
  fMonitor.SetProgressBar(&bar);
  fMonitor.SetMax(6000);
  ASSERT_EQ(fMonitor.Faktor(), 1024);
  std::vector<TTestEntry> entries;
  for (int i = 0; i < 10; ++i) entries.push_back(EntryOf("f" + std::to_string(i) + ".txt", std::string(600, 'x')));
  Extract(WritePack(PackOf(entries)));
  EXPECT_EQ(bar.Position(), 6000 / 1024);
}

}  // namespace
}  // namespace vek::test

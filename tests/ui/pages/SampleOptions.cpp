#include "SampleOptions.h"

#include <string>
#include <utility>

namespace vek {

namespace {

struct TSubSample {
  const char* Caption;
  const char* Files;
  std::int64_t Size;
  int State;
  const char* LibName;
  const char* LibAlias;
};

void AddOption(TMainOptionList& aList, const std::string& aCaption, const std::string& aPath,
               std::initializer_list<TSubSample> aSubs) {
  auto main = std::make_unique<TMainOption>();
  main->Caption = aCaption;
  main->Describe = "What " + aCaption + " installs.";
  main->Path = aPath;
  for (const TSubSample& s : aSubs) {
    auto sub = std::make_unique<TSubOption>();
    sub->Caption = s.Caption;
    sub->Describe = std::string("The part ") + s.Caption + ".";
    sub->Files = s.Files;
    sub->Size = s.Size;
    sub->State = s.State;
    sub->LibName = s.LibName;
    sub->LibAlias = s.LibAlias;
    main->SubOption.Add(std::move(sub));
  }
  aList.Add(std::move(main));
}

}  // namespace

std::unique_ptr<TMainOptionList> SampleOptions(std::int64_t aHugeBytes) {
  auto list = std::make_unique<TMainOptionList>();
  AddOption(*list, "Program", "C:\\Vek\\Notes",
            {{"Program files", "*.*", 5 * kSampleGb, 1, "bin", ""}, {"Help", "*.chm", 1536 * 1024, 0, "help", ""}});
  AddOption(*list, "Tools", "C:\\Vek\\Tools", {{"Converter", "*.dll", 300 * 1024, 0, "conv", ""}});
  AddOption(*list, "Samples", "D:\\Samples",
            {{"Letters", "*.*", 20 * 1024, 0, "letters", ""},
             {"Pictures", "*.*", 3 * 1024 * 1024, 0, "pictures", "D:\\Old\\Pictures"},
             {"Sounds", "*.wav;*.mid", 700 * 1024, 0, "sounds", ""}});
  AddOption(*list, "Fonts", "C:\\Vek\\Fonts", {});
  if (aHugeBytes != 0) AddOption(*list, "Archive", "C:\\Vek\\Archive", {{"Old issues", "*.*", aHugeBytes, 1, "old", ""}});
  return list;
}

std::unique_ptr<TMainOptionList> ManyOptions(int aCount) {
  auto list = std::make_unique<TMainOptionList>();
  for (int n = 1; n <= aCount; ++n) {
    const std::string name = "Option " + std::to_string(n);
    AddOption(*list, name, "C:\\Vek\\" + std::to_string(n),
              {{"Small", "*.*", n * 1024LL, 1, "small", ""}, {"Large", "*.*", 4 * kSampleGb + n, 0, "large", ""}});
  }
  return list;
}

}  // namespace vek

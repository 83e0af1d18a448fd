// The page host program: the options page, the confirmation page and the sub-option form in a
// plain window, for the UI driver's screenshots and runs. Arguments, in any order:
//   options | confirm | form    the page to start on (form: the options page with the
//                               sub-option form of option 0 open)
//   lang:XX                     the language of the fixed texts (UK, RU, CN, ...)
//   many:N                      N generated options instead of the sample product
//   huge                        the sample product with a selected option of 1 PB
//   update                      update mode (the page's texts for an update)
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "PagesHost.h"
#include "SampleOptions.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "system/WinText.h"

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; list != nullptr && i < count; ++i) args.push_back(vek::Narrow(list[i]));
  if (list != nullptr) LocalFree(list);
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace vek;
  std::string start = "options";
  int many = 0;
  bool huge = false;
  bool update = false;
  OpenLanguageTable();
  for (const std::string& arg : Arguments()) {
    if (arg.rfind("lang:", 0) == 0) {
      SelectLanguage(arg.substr(5));
    } else if (arg.rfind("many:", 0) == 0) {
      many = std::stoi(arg.substr(5));
    } else if (arg == "huge") {
      huge = true;
    } else if (arg == "update") {
      update = true;
    } else {
      start = arg;
    }
  }
  // The wizard runs the pages in the install location, whose drive they measure.
  SetCurrentDirectoryW(L"C:\\");
  TRunContext context;
  TSetupEngine setup(context);
  setup.SetInstallMode(update ? 2 : 1);
  const std::unique_ptr<TMainOptionList> options =
      many > 0 ? ManyOptions(many) : SampleOptions(huge ? 1024 * 1024 * kSampleGb : 0);
  setup.MainOptionList = options.get();
  setup.SetInstallsize(options->SelectedSize());

  TPagesHost host(setup);
  if (!host.Create("Vek pages")) return 1;
  host.ShowOptions();
  if (start == "confirm") host.ShowConfirm();
  ShowWindow(host.Window(), SW_SHOW);
  if (start == "form") {
    PostMessageW(host.Options().Handle(), WM_COMMAND, MAKEWPARAM(idOptChangeOptionBtn, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(host.Options().Handle(), idOptChangeOptionBtn)));
  }
  const int result = host.Run();
  CloseLanguageTable();
  return result;
}

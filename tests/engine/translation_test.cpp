// The script's "<code>_Texts" sections reach the engine's texts in the language of the run.
#include <gtest/gtest.h>

#include "base/FakeUserChannel.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "system/Files.h"

namespace vek {
namespace {

TEST(EngineTranslation, SystemNameFollowsTheLanguageOfTheRun) {
  TRunContext context;
  const std::string script = GetTempDir() + "vek-translation.ini";
  (void)DeleteFileAt(script);
  ASSERT_TRUE(AppendToFile(script,
                           "[System Info]\r\nName=%Prod%\r\n"
                           "[UK_Texts]\r\nProd=Notes\r\n"
                           "[DE_Texts]\r\nProd=Notizen\r\n")
                  .ok());
  context.ScriptFileName = script;
  test::TFakeUserChannel wizard{false};
  TSetupEngine engine(context, &wizard);
  engine.LoadScript(script);
  engine.SetNextStep(stStart);
  engine.ExecuteStep();  // stStart reads the system section and stops: no front end continues it

  const std::string before = CurrentLanguageCode();
  SelectLanguage("de");
  EXPECT_EQ(engine.SystemName(), "Notizen");
  SelectLanguage("tr");  // no TR_Texts: the default language's text
  EXPECT_EQ(engine.SystemName(), "Notes");
  SelectLanguage(before);
  (void)DeleteFileAt(script);
}

}  // namespace
}  // namespace vek

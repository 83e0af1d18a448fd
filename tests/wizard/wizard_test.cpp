#include <windows.h>

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <string>

#include "base/Format.h"
#include "engine/SetupEngine.h"
#include "language/LanguageText.h"
#include "language/LanguageTextIds.h"
#include "system/WinText.h"
#include "ui/ButtonSets.h"
#include "ui/WhereToPath.h"
#include "ui/WizardForm.h"
#include "ui/WizardPages.h"

namespace vek {
namespace {

TEST(AddRootFolder, AddsTheRootOnceWithOneBackslash) {
  struct Case {
    const char* path;
    const char* root;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\", "VekApps", "C:\\VekApps"},
      {"D:\\Programs", "VekApps", "D:\\Programs\\VekApps"},
      {"C:\\VekApps", "VekApps", "C:\\VekApps"},
      {"C:\\vekapps\\", "VekApps", "C:\\vekapps"},          // already there: only the "\" goes
      {"C:\\VekApps\\Old", "VekApps", "C:\\VekApps\\Old\\VekApps"},  // named, but not last
      {"C:\\Data", "", "C:\\Data"},
  };
  for (const Case& c : cases) EXPECT_EQ(AddRootFolder(c.path, c.root), c.expected) << c.path << " + " << c.root;
}

TEST(LanguageChoiceItem, AddsTheSystemsNameOfALocaleNumber) {
  EXPECT_NE(LanguageChoiceItem("Deutsch", "1031").find("German"), std::string::npos);
  for (const char* notALocale : {"", "DE", "70000", "12a", "-1"}) {
    EXPECT_EQ(LanguageChoiceItem("Deutsch", notALocale), "Deutsch") << notALocale;
  }
}

class Wizard : public ::testing::Test {
 protected:
  Wizard() {
    form.SetSetup(&engine);
  }

  HWND Item(int aId) const {
    if (const HWND own = ::GetDlgItem(form.Handle(), aId)) return own;
    HWND found = nullptr;
    for (HWND page = ::GetWindow(form.Handle(), GW_CHILD); page && !found; page = ::GetWindow(page, GW_HWNDNEXT)) {
      found = ::GetDlgItem(page, aId);
    }
    return found;
  }
  // Shown as far as the window is concerned (the form itself stays hidden in the tests).
  bool Shown(int aId) const {
    const HWND control = Item(aId);
    const HWND page = ::GetParent(control);
    const bool pageShown = page == form.Handle() || (::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE) != 0;
    return pageShown && (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  bool Enabled(int aId) const { return ::IsWindowEnabled(Item(aId)) != FALSE; }
  std::string Text(int aId) const {
    wchar_t text[1024] = {};
    ::GetWindowTextW(Item(aId), text, 1024);
    return Narrow(text);
  }
  int DefaultButton() const {
    return LOWORD(::SendMessageW(form.Handle(), DM_GETDEFID, 0, 0));
  }
  void Notify(TStepTypes aStep, TStepAction aAction, TStepMessage aMessage = smNone) {
    form.StepNotification(engine, aStep, aAction, aMessage);
  }

  TRunContext context;
  TSetupEngine engine{context};
  TWizardForm form;
};

constexpr int kButtons[] = {idPrevBtn, idNextBtn, idExitBtn, idCancelBtn, idOkBtn, idYesBtn, idNoBtn};

TEST_F(Wizard, EveryButtonSetShowsItsButtonsAndOneDefault) {
  for (int set = sbPrevNextExit; set <= sbStop; ++set) {
    const TButtonSet& expected = ButtonSet(static_cast<TShowButtonType>(set));
    // Start from all buttons enabled, then from all disabled: "unchanged" must stay either way.
    for (const BOOL before : {TRUE, FALSE}) {
      for (const int id : kButtons) ::EnableWindow(Item(id), before);
      form.Showbuttons(static_cast<TShowButtonType>(set));
      for (int b = 0; b < kNavButtonCount; ++b) {
        const int id = kButtons[b];
        const auto bit = Bit(static_cast<TNavButton>(b));
        EXPECT_EQ(Shown(id), (expected.shown & bit) != 0) << "set " << set << " button " << id;
        if (!(expected.shown & bit)) continue;
        const bool enabled = (expected.enable & bit) ? true : (expected.disable & bit) ? false : before != FALSE;
        EXPECT_EQ(Enabled(id), enabled) << "set " << set << " button " << id;
      }
      EXPECT_EQ(DefaultButton(), kButtons[expected.defaultButton]) << "set " << set;
    }
  }
  form.Showbuttons(sbStop);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Stop));
  form.Showbuttons(sbContinue);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Continue));
  // Ok takes Exit's place in sbOk and Next's in sbOkCancel.
  RECT ok{}, exit{};
  ::GetWindowRect(Item(idExitBtn), &exit);
  form.Showbuttons(sbOk);
  ::GetWindowRect(Item(idOkBtn), &ok);
  EXPECT_EQ(ok.left, exit.left);
  form.Showbuttons(sbOkCancel);
  ::GetWindowRect(Item(idOkBtn), &ok);
  EXPECT_LT(ok.left, exit.left);
}

TEST_F(Wizard, NotificationsShowTheirPagesAndButtons) {
  Notify(stInstallFiles, saEnter);
  EXPECT_TRUE(Shown(idProgressBar1));
  EXPECT_TRUE(Shown(idExitBtn));
  EXPECT_FALSE(Shown(idNextBtn));
  EXPECT_EQ(Text(idUnpackText), LanguageText(txt::InstFiles_0));

  Notify(stUpdGroups, saUpdate);
  EXPECT_FALSE(Shown(idProgressBar1));
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  EXPECT_EQ(Text(idInfoLabel2), FormatText(LanguageText(txt::Groups_Ask), {engine.SystemName()}));

  Notify(stCleanUpDirInfo, saEnter);
  EXPECT_TRUE(Shown(idCleanupDirList));
  EXPECT_TRUE(Shown(idOkBtn) && Shown(idCancelBtn));
  EXPECT_EQ(DefaultButton(), idOkBtn);

  Notify(stCleanUpExecute, saEnter);
  EXPECT_TRUE(Shown(idInfoLabel1));
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Stop));

  Notify(stVerifySystemInfoUserRights, saUpdate, smSysAdmRightsFailed);
  EXPECT_TRUE(Shown(idReInfo));
  EXPECT_NE(Text(idReInfo).find(LanguageText(txt::Rights_Admin)), std::string::npos);
  EXPECT_TRUE(Shown(idExitBtn));
  EXPECT_FALSE(Shown(idNextBtn));
}

TEST_F(Wizard, LocationPageAddsTheChosenRootForAnInstall) {
  context.InstallPath = "D:\\Apps\\";
  context.InstallRootList = {"Vek", "Other"};
  context.InstallRootIndex = 0;
  engine.SetInstallMode(1);
  Notify(stWhereTo, saEnter);
  EXPECT_EQ(Text(idInstallPathEdit), "D:\\Apps\\Vek");
  EXPECT_EQ(DefaultButton(), idNextBtn);
  // An update looks where the path says.
  engine.SetInstallMode(2);
  Notify(stWhereTo, saEnter);
  EXPECT_EQ(Text(idInstallPathEdit), "D:\\Apps\\");
  // What stands in the edit when the check starts is what the engine checks.
  ::SetWindowTextW(Item(idInstallPathEdit), L"E:\\Elsewhere");
  Notify(stCheckWhereTo, saEnter);
  EXPECT_EQ(context.InstallPath, "E:\\Elsewhere");
}

TEST_F(Wizard, WelcomePagePreselectsInstall) {
  engine.SetInstmode(0);
  Notify(stInstUpd, saEnter);
  EXPECT_TRUE(Shown(idInstallRadioBtn) && Shown(idUpdateRadioBtn));
  EXPECT_EQ(::SendMessageW(Item(idInstallRadioBtn), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(engine.InstallMode(), 1);
  // A script that fixes the mode offers no choice.
  engine.SetInstmode(2);
  Notify(stInstUpd, saEnter);
  EXPECT_FALSE(Shown(idInstallRadioBtn));
  EXPECT_NE(Text(idInstUpdLabel).find(LanguageText(txt::instupd_4)), std::string::npos);
}

TEST_F(Wizard, ChoicePageEnablesNextOnlyWithASelection) {
  TChoiceView choice{"Edition", "Pick one", {"Home", "Office", "Server"}, -1, false};
  form.ShowChoice(choice);
  EXPECT_TRUE(Shown(idRBChoice3));
  EXPECT_FALSE(Shown(idRBChoice4));
  EXPECT_FALSE(Shown(idChoiceComboBox));
  EXPECT_FALSE(Enabled(idNextBtn));
  ::SendMessageW(Item(idRBChoice2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_EQ(form.ChoiceSelection(), 1);

  // A preset selection enables Next at once; more than four answers go into the combo box.
  choice.items = {"1", "2", "3", "4", "5", "6"};
  choice.selection = 5;
  form.ShowChoice(choice);
  EXPECT_TRUE(Shown(idChoiceComboBox));
  EXPECT_FALSE(Shown(idRBChoice1));
  EXPECT_EQ(::SendMessageW(Item(idChoiceComboBox), CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageW(Item(idChoiceComboBox), CB_GETCURSEL, 0, 0), 5);
  EXPECT_TRUE(Enabled(idNextBtn));
  // At least 150 pixels wide at 96 DPI, whatever the items.
  RECT box{};
  ::GetWindowRect(Item(idChoiceComboBox), &box);
  EXPECT_GE(box.right - box.left, 150);
}

TEST_F(Wizard, IncompleteAgreementCanOnlyBeDeclined) {
  form.ShowAgreement({"line 1", "line 2"}, false);
  EXPECT_TRUE(Shown(idLicensMemo));
  EXPECT_FALSE(Enabled(idYesBtn));
  EXPECT_EQ(DefaultButton(), idNoBtn);
  EXPECT_EQ(engine.NextStep(), stAcceptLicens);
  form.ShowAgreement({"line 1"}, true);
  EXPECT_TRUE(Enabled(idYesBtn));
  EXPECT_EQ(Text(idLicensMemo), "line 1\r\n");
}


TEST_F(Wizard, InfoPagesShowTheFirstPageForThisKindOfInstallation) {
  TCommonInfo networkOnly, plain;
  networkOnly.info = {"only on a network"};
  networkOnly.netshow = 2;
  plain.info = {"Read me", "second line"};
  engine.SetStartInfoList({networkOnly, plain});
  Notify(StStartInfo, saUpdate);
  EXPECT_TRUE(Shown(idReInfo));
  EXPECT_NE(Text(idReInfo).find("Read me"), std::string::npos);
  EXPECT_NE(Text(idReInfo).find("second line"), std::string::npos);
  EXPECT_EQ(Text(idReInfo).find("network"), std::string::npos);
  EXPECT_TRUE(Enabled(idPrevBtn) && Enabled(idNextBtn) && Enabled(idExitBtn));
  // No page for this kind of installation: the run goes on to the agreement.
  engine.SetNextStep(stStart);
  engine.SetStartInfoList({networkOnly});
  Notify(StStartInfo, saUpdate);
  EXPECT_EQ(engine.NextStep(), stAcceptLicens);
  // The final pages only go forward.
  engine.SetFinalInfoList({plain});
  Notify(stFinalInfo, saUpdate);
  EXPECT_NE(Text(idReInfo).find("Read me"), std::string::npos);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_FALSE(Enabled(idPrevBtn) || Enabled(idExitBtn));
}

TEST_F(Wizard, AgreementPageShowsTheEnginesAgreement) {
  engine.SetLicensAgreementList({{kDefaultAgreement, TAgreement({"first", "second"}, 2)}});
  Notify(stAcceptLicens, saUpdate);
  EXPECT_EQ(Text(idLicensMemo), "first\r\nsecond\r\n");
  EXPECT_TRUE(Enabled(idYesBtn));
  EXPECT_EQ(DefaultButton(), idNoBtn);
  // A script that asks for an agreement it does not hold can only be declined.
  engine.SetLicensAgreementList({});
  Notify(stAcceptLicens, saUpdate);
  EXPECT_EQ(Text(idLicensMemo), "");
  EXPECT_FALSE(Enabled(idYesBtn));
}

TEST_F(Wizard, ExternalProgramPageOffersTheProgramsAlternatives) {
  Notify(stExecuteExternals, saUpdate, smNone);
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  EXPECT_FALSE(Shown(idRB1));
  // Two alternatives: Next waits for a pick.
  form.SetProgramAlternatives({{"Full", "Minimal", "", ""}, 0});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_TRUE(Shown(idRB1) && Shown(idRB2));
  EXPECT_FALSE(Shown(idRB3) || Shown(idRB4));
  EXPECT_EQ(Text(idRB2), "Minimal");
  EXPECT_TRUE(Shown(idNextBtn));
  EXPECT_FALSE(Enabled(idNextBtn));
  ::SendMessageW(Item(idRB2), BM_CLICK, 0, 0);
  EXPECT_TRUE(Enabled(idNextBtn));
  EXPECT_EQ(form.ProgramChoice(), 2);
  // An answer given before lets the user go on at once.
  form.SetProgramAlternatives({{"Full", "Minimal", "", ""}, 1});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_EQ(::SendMessageW(Item(idRB1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(Enabled(idNextBtn));
  // Without alternatives the question is Yes or No.
  form.SetProgramAlternatives({});
  Notify(stExecuteExternals, saUpdate, smGetProgInfo);
  EXPECT_FALSE(Shown(idRB1));
  EXPECT_TRUE(Shown(idYesBtn) && Shown(idNoBtn));
  // While the program runs only Continue is offered; a medium to insert asks OK or Abort.
  Notify(stExecuteExternals, saUpdate, smRs_RunProg);
  EXPECT_EQ(Text(idCancelBtn), LanguageText(txt::contr_Continue));
  EXPECT_FALSE(Shown(idYesBtn) || Shown(idNextBtn));
  Notify(stExecuteExternals, saUpdate, smRs_Ask);
  EXPECT_TRUE(Shown(idOkBtn) && Shown(idCancelBtn) && Shown(idDiskDrivePanel));
  EXPECT_FALSE(Shown(idRunInfoLabel1));
}

// Small picture files of every type, all red, made here with zlib and GDI the way any writer of
// these formats would.
std::string Le(std::uint32_t aValue, int aBytes) {
  std::string bytes;
  for (int i = 0; i < aBytes; ++i) bytes += static_cast<char>(aValue >> (8 * i));
  return bytes;
}
std::string Be32(std::uint32_t aValue) {
  return {static_cast<char>(aValue >> 24), static_cast<char>(aValue >> 16), static_cast<char>(aValue >> 8),
          static_cast<char>(aValue)};
}

std::string RedBmp(int aWidth, int aHeight) {
  const int row = (aWidth * 3 + 3) / 4 * 4;
  std::string pixels;
  for (int y = 0; y < aHeight; ++y) {
    for (int x = 0; x < aWidth; ++x) pixels += std::string("\x00\x00\xff", 3);  // blue, green, red
    pixels.append(static_cast<std::size_t>(row - aWidth * 3), '\0');
  }
  return "BM" + Le(static_cast<std::uint32_t>(54 + pixels.size()), 4) + Le(0, 4) + Le(54, 4) + Le(40, 4) +
         Le(static_cast<std::uint32_t>(aWidth), 4) + Le(static_cast<std::uint32_t>(aHeight), 4) + Le(1, 2) +
         Le(24, 2) + Le(0, 4) + Le(static_cast<std::uint32_t>(pixels.size()), 4) + Le(2835, 4) + Le(2835, 4) +
         Le(0, 4) + Le(0, 4) + pixels;
}

std::string PngChunk(const std::string& aType, const std::string& aData) {
  const std::string typed = aType + aData;
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()));
  return Be32(static_cast<std::uint32_t>(aData.size())) + typed + Be32(static_cast<std::uint32_t>(crc));
}

std::string RedPng(int aWidth, int aHeight) {
  std::string raw;
  for (int y = 0; y < aHeight; ++y) {
    raw += '\0';  // no filter
    for (int x = 0; x < aWidth; ++x) raw += std::string("\xff\x00\x00", 3);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  packed.resize(size);
  const std::string header = Be32(static_cast<std::uint32_t>(aWidth)) + Be32(static_cast<std::uint32_t>(aHeight)) +
                             std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
  return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", header) + PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

// An icon whose one image is a PNG, as icons of Windows Vista and later hold them.
std::string RedIcon(int aSide) {
  const std::string png = RedPng(aSide, aSide);
  return Le(0, 2) + Le(1, 2) + Le(1, 2) + Le(static_cast<std::uint32_t>(aSide), 1) +
         Le(static_cast<std::uint32_t>(aSide), 1) + Le(0, 2) + Le(1, 2) + Le(32, 2) +
         Le(static_cast<std::uint32_t>(png.size()), 4) + Le(22, 4) + png;
}

// A 1 x 1 GIF whose one colour is red.
const std::string kRedGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 35);

constexpr char kRedJpeg[] =
    "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
    "\x00\x10\x0b\x0c\x0e\x0c\x0a\x10\x0e\x0d\x0e\x12\x11\x10\x13\x18\x28\x1a\x18\x16\x16\x18\x31\x23"
    "\x25\x1d\x28\x3a\x33\x3d\x3c\x39\x33\x38\x37\x40\x48\x5c\x4e\x40\x44\x57\x45\x37\x38\x50\x6d\x51"
    "\x57\x5f\x62\x67\x68\x67\x3e\x4d\x71\x79\x70\x64\x78\x5c\x65\x67\x63\xff\xdb\x00\x43\x01\x11\x12"
    "\x12\x18\x15\x18\x2f\x1a\x1a\x2f\x63\x42\x38\x42\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63"
    "\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63"
    "\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\x63\xff\xc0\x00\x11\x08\x00\x08\x00\x08\x03"
    "\x01\x22\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x05\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\xff\xc4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x05\x06\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x8a\x00\xb5\xe3\xff\xd9";
const std::string kJpeg(kRedJpeg, sizeof(kRedJpeg) - 1);

void DrawRed(HDC aDc, int aWidth, int aHeight) {
  const HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
  const RECT all{0, 0, aWidth, aHeight};
  ::FillRect(aDc, &all, red);
  ::DeleteObject(red);
}

// An enhanced metafile of a red rectangle 2 cm x 1 cm.
std::string RedEmf() {
  const RECT frame{0, 0, 2000, 1000};  // 0.01 mm
  const HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
  const int width = ::GetDeviceCaps(dc, HORZRES) * 20 / ::GetDeviceCaps(dc, HORZSIZE);
  const int height = ::GetDeviceCaps(dc, VERTRES) * 10 / ::GetDeviceCaps(dc, VERTSIZE);
  DrawRed(dc, width, height);
  const HENHMETAFILE emf = ::CloseEnhMetaFile(dc);
  std::string bytes(::GetEnhMetaFileBits(emf, 0, nullptr), '\0');
  ::GetEnhMetaFileBits(emf, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data()));
  ::DeleteEnhMetaFile(emf);
  return bytes;
}

// A placeable Windows metafile (the form picture files carry) of a red rectangle 2 x 1 inches.
std::string RedWmf() {
  const HDC dc = ::CreateMetaFileW(nullptr);
  ::SetWindowExtEx(dc, 200, 100, nullptr);
  DrawRed(dc, 200, 100);
  const HMETAFILE wmf = ::CloseMetaFile(dc);
  std::string records(::GetMetaFileBitsEx(wmf, 0, nullptr), '\0');
  ::GetMetaFileBitsEx(wmf, static_cast<UINT>(records.size()), records.data());
  ::DeleteMetaFile(wmf);
  std::string header = Le(0x9ac6cdd7, 4) + Le(0, 2) + Le(0, 2) + Le(0, 2) + Le(200, 2) + Le(100, 2) + Le(100, 2) +
                       Le(0, 4);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < header.size(); i += 2) {
    sum ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(header[i]) | static_cast<std::uint8_t>(header[i + 1]) << 8);
  }
  return header + Le(sum, 2) + records;
}

COLORREF PixelAt(HBITMAP aBitmap, int aX, int aY) {
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, aBitmap);
  const COLORREF colour = ::GetPixel(dc, aX, aY);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return colour;
}

bool Reddish(COLORREF aColour) { return GetRValue(aColour) > 200 && GetGValue(aColour) < 60 && GetBValue(aColour) < 60; }

TEST_F(Wizard, WelcomePictureOfEveryTypeIsDrawnCentredInTheImage) {
  const struct {
    TPictureType type;
    std::string bytes;
  } rows[] = {
      {TPictureType::ptBitmap, RedBmp(40, 20)}, {TPictureType::ptMetafile, RedEmf()},
      {TPictureType::ptMetafile, RedWmf()},     {TPictureType::ptIcon, RedIcon(32)},
      {TPictureType::ptJpeg, kJpeg},            {TPictureType::ptGif, kRedGif},
      {TPictureType::ptPng, RedPng(40, 20)},
  };
  RECT area{};
  ::GetClientRect(Item(idWelcomeImage), &area);
  for (const auto& row : rows) {
    engine.SetWelcomePicture(TWelcomePicture{row.type, row.bytes});
    Notify(stStart, saLeave);  // InitGui
    const HBITMAP bitmap = form.WelcomeBitmap();
    ASSERT_TRUE(bitmap) << static_cast<int>(row.type);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(::SendMessageW(Item(idWelcomeImage), STM_GETIMAGE, IMAGE_BITMAP, 0)), bitmap);
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, area.right);
    EXPECT_EQ(info.bmHeight, area.bottom);
    EXPECT_TRUE(Reddish(PixelAt(bitmap, (area.right - 1) / 2, (area.bottom - 1) / 2))) << static_cast<int>(row.type);
    EXPECT_FALSE(Reddish(PixelAt(bitmap, 2, 2))) << static_cast<int>(row.type);
  }
  // A file that is not what its type says: no picture, no fault.
  engine.SetWelcomePicture(TWelcomePicture{TPictureType::ptPng, "not a picture"});
  Notify(stStart, saLeave);
  EXPECT_FALSE(form.WelcomeBitmap());
  engine.SetWelcomePicture(std::nullopt);
  Notify(stStart, saLeave);
  EXPECT_FALSE(form.WelcomeBitmap());
}

TEST_F(Wizard, WelcomePictureStepShowsTheImageInsteadOfThePages) {
  engine.SetWelcomePicture(TWelcomePicture{TPictureType::ptBitmap, RedBmp(10, 10)});
  Notify(stStart, saLeave);
  form.ShowAgreement({"line"}, true);
  EXPECT_FALSE(Shown(idWelcomeImage));
  Notify(stShowWelcomePicture, saEnter);
  EXPECT_TRUE(Shown(idWelcomeImage));
  EXPECT_FALSE(Shown(idLicensMemo));
  EXPECT_FALSE(Shown(idFlashTitle));
  EXPECT_TRUE(Enabled(idNextBtn) && Enabled(idExitBtn));
  EXPECT_FALSE(Enabled(idPrevBtn));
  form.SetWelcomePicture(false);
  EXPECT_FALSE(Shown(idWelcomeImage));
  EXPECT_TRUE(Shown(idLicensMemo));
  EXPECT_TRUE(Shown(idFlashTitle));
}

}  // namespace
}  // namespace vek

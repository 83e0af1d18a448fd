"""The script's INI and registry commands in silent installs: every token against existing and
missing files, sections, entries, keys and values, read back with the system's profile functions
and `reg query`; the order against the sub-option's files; bad command lines that are reported
while the run goes on."""
import shutil
import zipfile

import vekharness as h

BASE = h.DRIVE_C / "inicmd"
WBASE = "C:\\inicmd"
REG = "Software\\VekIniE2E"
HKCU_REG = "HKCU\\" + REG

EXISTING = """; kept: a comment before the first section
[Main]
Key=Original
Old=1
Dollars=$$$$$$
Gone=delete me

; kept: a comment between sections
[Numbers]
0=zero
1=one
3=three

[Obsolete]
X=1

[Order]
A=1
B=2
C=3

[Arrange]
A=1
B=2
C=3
D=4

[Untouched]
Stay=here
"""

COMMANDS = r"""[IIniFiles1.1]
UpdateFirst=1
<DEFVAL Early>C:\inicmd\existing.ini,Main,Old
C:\inicmd\new.ini,Main,Key=Value ø
C:\inicmd\existing.ini,Main,Key=Replaced
C:\inicmd\existing.ini,Main,Added=New
C:\inicmd\existing.ini,Main,EarlyCopy=%Early%
<FILEEXISTS>C:\inicmd\missing1.ini,S,K=V
<FILEEXISTS>C:\inicmd\existing.ini,Main,FileExists=1
<FILENOTEXISTS>C:\inicmd\existing.ini,Main,FileNotExists=1
<FILENOTEXISTS>C:\inicmd\fne.ini,S,K=V
<KEYEXISTS>C:\inicmd\missing2.ini,S,K=V
<KEYEXISTS>C:\inicmd\existing.ini,Main,NoSuch=1
<KEYEXISTS>C:\inicmd\existing.ini,Main,Old=Updated
<KEYNOTEXISTS>C:\inicmd\existing.ini,Main,Old=No
<KEYNOTEXISTS>C:\inicmd\kne.ini,S,K=V
<KEYNOTEXISTS>C:\inicmd\existing.ini,Main,Dollars=Now
C:\inicmd\existing.ini,Numbers,#=two
<DELETEKEY>C:\inicmd\existing.ini,Main,Gone
<DELETEKEY>C:\inicmd\existing.ini,Main,NeverThere
<DELETESECTION>C:\inicmd\existing.ini,Obsolete
<DELETESECTION>C:\inicmd\existing.ini,NoSuchSection
<RENAMEKEY>C:\inicmd\existing.ini,Order,B=Renamed
<RENAMEKEY>C:\inicmd\existing.ini,Order,NoSuch=X
<ARANGE>C:\inicmd\existing.ini,Arrange,x=C,A,..,B
<ARANGE>C:\inicmd\missing3.ini,Arrange,x=A
<FILEEXISTS>%OPTIONPATH%\CONF\app.ini,App,Before=1
<NET><DEFVAL NetOnly>C:\inicmd\existing.ini,Main,Old
<DEFVAL FromIni>C:\inicmd\existing.ini,Main,Old=dflt
<DEFVAL Fallback>C:\inicmd\missing4.ini,S,K=fallback
<DEFPATH FromReg>HKEY_CU,Software\VekIniE2E\Seed,Path
<DEFPATH Cleared>HKEY_CU,Software\VekIniE2E\Seed,NoSuch
<DEFVAR Gone>HKEY_CU,Software\VekIniE2E\Seed,NoSuch
<DEFEXISTSVAL GoneToo>HKEY_CU,Software\VekIniE2E\Seed,NoSuch
C:\inicmd\vars.ini,V,FromIni=$FromIni$
<IF FromIni>C:\inicmd\vars.ini,V,If=yes
<IF Nope>C:\inicmd\vars.ini,V,IfNope=no
<IF Fallback=FALLBACK>C:\inicmd\vars.ini,V,IfEqual=yes
<IF FromIni=other>C:\inicmd\vars.ini,V,IfOther=no
<IFNOT Nope>C:\inicmd\vars.ini,V,IfNot=yes
<IFNOT FromIni>C:\inicmd\vars.ini,V,IfNotDefined=no
<IFNOT FromIni=other>C:\inicmd\vars.ini,V,IfNotOther=yes
<NET>C:\inicmd\vars.ini,V,Net=no
<NONET>C:\inicmd\vars.ini,V,NoNet=yes
<TS>C:\inicmd\vars.ini,V,TS=no
<NOTS>C:\inicmd\vars.ini,V,NoTS=yes
<SYSDIR>C:\inicmd\vars.ini,V,Sys=%SYSTEMPATH%\data
HKEY_CURRENT_USER,Software\VekIniE2E\New,Name=Value
HKEY_CU,\Software\VekIniE2E\Seed,Replaced=New
<KEYEXISTS>HKEY_CU,Software\VekIniE2E\Seed,NoSuch=1
<KEYEXISTS>HKEY_CU,Software\VekIniE2E\Seed,Exists=Updated
<KEYEXISTS>HKEY_CU,Software\VekIniE2E\MissingKey,N=1
<KEYNOTEXISTS>HKEY_CU,Software\VekIniE2E\Seed,Exists=No
<KEYNOTEXISTS>HKEY_CU,Software\VekIniE2E\KeyNotExists,N=1
<DELETESECTION>HKEY_CU,Software\VekIniE2E\Tree
<DELETESECTION>HKEY_CU,Software\VekIniE2E\NoTree
<DELETEKEY>HKEY_CU,Software\VekIniE2E\Seed,Gone
<DELETEKEY>HKEY_CU,Software\VekIniE2E\Seed,NeverThere
<RENAMEKEY>HKEY_CU,Software\VekIniE2E\Seed,Count=Total
<RENAMEKEY>HKEY_CU,Software\VekIniE2E\Seed,Replaced=Exists
<SYSDIR>HKEY_LOCAL_MACHINE,Software\VekIniE2E,Sys=%SYSTEMPATH%\data
HKEY_LM,Software\VekIniE2E\Short,N=1
HKEY_CLASSES_ROOT,VekIniE2E.Document,Name=Doc
HKEY_CR,VekIniE2E.Document\Short,N=1
HKEY_USERS,.DEFAULT\Software\VekIniE2E,N=1
HKEY_US,.DEFAULT\Software\VekIniE2E\Short,N=1
HKEY_CURRENT_CONFIG,Software\VekIniE2E,N=1
HKEY_CC,Software\VekIniE2E\Short,N=1

[IIniFiles1.2]
UpdateFirst=0
<KEYEXISTS>%OPTIONPATH%\CONF\app.ini,App,Version=2
"""

SCRIPT = r"""[System Info]
Name=INI Commands
SystemDir=IniSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=IniProg

[ISubOption1.1]
Caption=Commands first
Selected=1
Files=$$$$$$$$.$$$
PackFile=conf.zip

[ISubOption1.2]
Caption=Files first
Selected=1
LibName=Conf
PackFile=conf.zip

""" + COMMANDS

# Every line the commands must write, in this order.
LOG_LINES = [
    # Lone definitions run while the section loads, before any command.
    "UserVar Added: Early = 1",
    "UserVar Added: FromIni = 1",
    "UserVar Added: Fallback = fallback",
    "UserPathVar Added: FromReg = C:\\Data",
    "UserPathVar cleared: Cleared",
    "UserVar Deleted: Gone",
    "Uservar Deleted: GoneToo",
    "INI: C:\\INICMD\\NEW.INI , [Main] Key = Value ø",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] Key = Replaced",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] Added = New",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] EarlyCopy = 1",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] FileExists = 1",
    "INI: C:\\INICMD\\FNE.INI , [S] K = V",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] Old = Updated",
    "INI: C:\\INICMD\\KNE.INI , [S] K = V",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] Dollars = Now",
    "INI: C:\\INICMD\\EXISTING.INI , [Numbers] 2 = two",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] Gone has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [Main] NeverThere has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [Obsolete] has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [NoSuchSection] has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [Order] B has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [Order] C has been deleted",
    "INI: C:\\INICMD\\EXISTING.INI , [Order] Renamed = 2",
    "INI: C:\\INICMD\\EXISTING.INI , [Order] C = 3",
    "INI: C:\\INICMD\\VARS.INI , [V] FromIni = %FromIni%",
    "INI: C:\\INICMD\\VARS.INI , [V] If = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] IfEqual = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] IfNot = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] IfNotOther = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] NoNet = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] NoTS = yes",
    "INI: C:\\INICMD\\VARS.INI , [V] Sys = %SYSDIR%data",
    "REG: Software\\VekIniE2E\\New , Name = Value",
    "REG: \\Software\\VekIniE2E\\Seed , Replaced = New",
    "REG: Software\\VekIniE2E\\Seed , Exists = Updated",
    "REG: Software\\VekIniE2E\\KeyNotExists , N = 1",
    "REG: Software\\VekIniE2E\\Tree has been deleted",
    "REG: Software\\VekIniE2E\\Seed , Gone has been deleted",
    "REG: Software\\VekIniE2E\\Seed , Count renamed to: Total",
    "REG: Software\\VekIniE2E , Sys = %SYSDIR%data",
]


def reg_query_types(key: str) -> dict:
    """{name: (type, data)} of a key as `reg query` shows it; None when the key is missing."""
    result = h.wine_command("reg", "query", key)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.decode("utf-8", "replace").splitlines():
        parts = line.strip().split("    ")
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], "    ".join(parts[2:]))
    return values


def reg_add(key: str, name: str, data: str, kind: str = "REG_SZ") -> None:
    result = h.wine_command("reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f")
    assert result.returncode == 0, result.stderr


def reg_delete(key: str) -> None:
    h.wine_command("reg", "delete", key, "/f")


def find_case_blind(root, *parts):
    """The path below root whose parts match without regard to case (Wine makes folders in capitals)."""
    path = root
    for part in parts:
        matches = [p for p in path.iterdir() if p.name.lower() == part.lower()] if path.is_dir() else []
        if not matches:
            return None
        path = matches[0]
    return path


class IniCommands(h.WineTestCase):
    def setUp(self):
        super().setUp()
        shutil.rmtree(BASE, ignore_errors=True)
        BASE.mkdir(parents=True)
        for key in (HKCU_REG, "HKLM\\" + REG, "HKCR\\VekIniE2E.Document", "HKU\\.DEFAULT\\" + REG,
                    "HKCC\\" + REG):
            reg_delete(key)

    def tearDown(self):
        for key in (HKCU_REG, "HKLM\\" + REG, "HKCR\\VekIniE2E.Document", "HKU\\.DEFAULT\\" + REG,
                    "HKCC\\" + REG):
            reg_delete(key)

    def install(self, name, script, packs=None):
        dist = h.Distribution(name)
        dist.script(script)
        for pack, files in (packs or {}).items():
            with zipfile.ZipFile(dist.dir / pack, "w") as out:
                for entry, data in files.items():
                    out.writestr(entry, data)
        result = dist.run("/Q", "/s:", "/I:" + WBASE)
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        return next(iter(h.logs("setup_").values()))

    def test_every_token_on_both_targets(self):
        existing = BASE / "existing.ini"
        existing.write_bytes(EXISTING.replace("\n", "\r\n").encode("cp1252"))
        reg_add(HKCU_REG + "\\Seed", "Replaced", "Old")
        reg_add(HKCU_REG + "\\Seed", "Exists", "Before")
        reg_add(HKCU_REG + "\\Seed", "Gone", "x")
        reg_add(HKCU_REG + "\\Seed", "Path", "C:\\Data")
        reg_add(HKCU_REG + "\\Seed", "Count", "7", "REG_DWORD")
        reg_add(HKCU_REG + "\\Tree\\Sub\\Deeper", "N", "1")

        log = self.install("inicmd", SCRIPT, {"conf.zip": {"app.ini": b"[App]\r\nVersion=1\r\n"}})

        # The log holds every line, in order.
        at = 0
        for line in LOG_LINES:
            self.assertIn(line, log[at:], f"missing or out of order: {line}")
            at = log.index(line, at) + 1

        # INI files as the profile functions read them.
        ini = h.profile_read(existing)
        self.assertEqual(list(ini), ["Main", "Numbers", "Order", "Arrange", "Untouched"])
        self.assertEqual(ini["Main"], {"Key": "Replaced", "Old": "Updated", "Dollars": "Now", "Added": "New",
                                       "EarlyCopy": "1", "FileExists": "1"})
        self.assertEqual(list(ini["Numbers"].items()), [("0", "zero"), ("1", "one"), ("3", "three"), ("2", "two")])
        self.assertEqual(list(ini["Order"].items()), [("A", "1"), ("Renamed", "2"), ("C", "3")])
        self.assertEqual(list(ini["Arrange"]), ["C", "A", "D", "B"])
        self.assertEqual(ini["Untouched"], {"Stay": "here"})
        # An existing file keeps its encoding and its comments.
        raw = existing.read_bytes()
        self.assertNotIn(b"\x00", raw)
        self.assertIn(b"; kept: a comment before the first section\r\n", raw)
        self.assertIn(b"; kept: a comment between sections\r\n", raw)

        new = BASE / "NEW.INI"
        self.assertTrue(new.read_bytes().startswith(b"\xff\xfe"), new.read_bytes()[:8])
        self.assertEqual(h.profile_read(new), {"Main": {"Key": "Value ø"}})
        self.assertEqual(h.profile_read(BASE / "FNE.INI"), {"S": {"K": "V"}})
        self.assertEqual(h.profile_read(BASE / "KNE.INI"), {"S": {"K": "V"}})
        for missing in ("MISSING1.INI", "MISSING2.INI", "MISSING3.INI", "MISSING4.INI"):
            self.assertIsNone(find_case_blind(BASE, missing), missing)
        self.assertEqual(h.profile_read(BASE / "VARS.INI")["V"], {
            "FromIni": "%FromIni%", "If": "yes", "IfEqual": "yes", "IfNot": "yes", "IfNotOther": "yes",
            "NoNet": "yes", "NoTS": "yes", "Sys": "%SYSDIR%data"})

        # The files-first sub-option's commands ran after its files, the other's before them.
        app = find_case_blind(BASE, "IniProg", "Conf", "app.ini")
        self.assertIsNotNone(app)
        self.assertEqual(h.profile_read(app), {"App": {"Version": "2"}})

        # The registry as `reg query` shows it.
        seed = reg_query_types(HKCU_REG + "\\Seed")
        self.assertEqual(seed, {"Replaced": ("REG_SZ", "New"), "Exists": ("REG_SZ", "Updated"),
                                "Path": ("REG_SZ", "C:\\Data"), "Total": ("REG_DWORD", "0x7")})
        self.assertEqual(reg_query_types(HKCU_REG + "\\New"), {"Name": ("REG_SZ", "Value")})
        self.assertEqual(reg_query_types(HKCU_REG + "\\KeyNotExists"), {"N": ("REG_SZ", "1")})
        self.assertIsNone(reg_query_types(HKCU_REG + "\\MissingKey"))
        self.assertIsNone(reg_query_types(HKCU_REG + "\\Tree"))
        self.assertEqual(reg_query_types("HKLM\\" + REG), {"Sys": ("REG_SZ", "%SYSDIR%data")})
        for key in ("HKLM\\" + REG + "\\Short", "HKCR\\VekIniE2E.Document\\Short", "HKU\\.DEFAULT\\" + REG,
                    "HKU\\.DEFAULT\\" + REG + "\\Short", "HKCC\\" + REG, "HKCC\\" + REG + "\\Short"):
            self.assertEqual(reg_query_types(key), {"N": ("REG_SZ", "1")}, key)
        self.assertEqual(reg_query_types("HKCR\\VekIniE2E.Document")["Name"], ("REG_SZ", "Doc"))
        self.assertFalse(any(line.startswith("Not built yet: INI and registry") for line in log))

    def test_update_runs_its_own_section_after_the_files_of_a_found_sub_option(self):
        dist = h.Distribution("inicmdupd")
        dist.script(r"""[System Info]
Name=INI Update
InstallRoot=UpdApps
SystemDir=UpdSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=Prog

[ISubOption1.1]
Caption=Files
Selected=1
LibName=Lib
PackFile=v1.zip

[IIniFiles1.1]
UpdateFirst=0
C:\inicmd\state.ini,State,Folder=%OPTIONPATH%\LIB
C:\inicmd\state.ini,State,Installed=1

[UMainOption1]
Caption=Program
RootLib=Prog

[USubOption1.1]
Caption=Files
Selected=1
LibName=Lib
LibAlias=C:\inicmd\state.ini,State,Folder
PackFile=v2.zip

[UIniFiles1.1]
UpdateFirst=1
<KEYEXISTS>%INSTALLPATH%\marker.ini,M,K=updated after the files
C:\inicmd\state.ini,State,Updated=1
""")
        with zipfile.ZipFile(dist.dir / "v1.zip", "w") as out:
            out.writestr("app.txt", b"version 1")
        with zipfile.ZipFile(dist.dir / "v2.zip", "w") as out:
            out.writestr(zipfile.ZipInfo("marker.ini", (2030, 1, 1, 0, 0, 0)), b"[M]\r\nK=from the pack\r\n")
        result = dist.run("/Q", "/s:", "/I:" + WBASE)
        self.assertEqual(result.returncode, 0, result.stderr[-400:])
        self.assertEqual(h.profile_read(BASE / "STATE.INI")["State"]["Installed"], "1")

        h.clear_logs()
        result = dist.run("/Q", "/s:", "/U:" + WBASE)
        log = next(iter(h.logs("setup_").values()))
        self.assertEqual(result.returncode, 0, log)
        self.assertIn("   Update", log)
        # A sub-option found where the installation put it runs its commands after its files.
        marker = find_case_blind(BASE, "UpdApps", "Prog", "Lib", "marker.ini")
        self.assertEqual(h.profile_read(marker), {"M": {"K": "updated after the files"}})
        self.assertEqual(h.profile_read(BASE / "STATE.INI")["State"],
                         {"Folder": h.profile_read(BASE / "STATE.INI")["State"]["Folder"], "Installed": "1",
                          "Updated": "1"})
        self.assertLess(log.index("Extracting files from: C:\\e2e\\inicmdupd\\v2.zip"),
                        next(i for i, line in enumerate(log) if line.endswith("[M] K = updated after the files")))

    def test_bad_command_lines_are_reported_and_the_run_goes_on(self):
        bad = BASE / "bad"
        bad.mkdir()
        deep = "\\".join(["k"] * 300)
        long_path = WBASE + "\\bad\\" + "x" * 270 + ".ini"
        big = "v" * 100000
        script = r"""[System Info]
Name=Bad Commands
SystemDir=BadSys
CopySetup=0

[IMainOption1]
Caption=Program
RootLib=BadProg

[ISubOption1.1]
Caption=Commands
Selected=1
Files=$$$$$$$$.$$$

[ISubOption1.2]
Caption=Files, so that the selection has a size
Selected=1
LibName=Files
PackFile=files.zip

[IIniFiles1.1]
UpdateFirst=1
<KEYEXISTS C:\inicmd\bad\unclosed.ini,S,K=V
<NET><KEYEXISTS>
HKEY_NOPE,Software\VekIniE2E,N=V
NUL,S,K=V
C:\inicmd\bad\COM1.ini,S,K=V
\\.\C:,S,K=V
C:\inicmd\bad,S,K=V
LONG_PATH,S,K=V
HKEY_CU,Software\VekIniE2E\LONG_NAME,N=V
HKEY_CU,Software\VekIniE2E\Deep\DEEP,N=V
C:\inicmd\bad\big.ini,S,K=BIG
HKEY_CU,Software\VekIniE2E,Big=BIG
C:\inicmd\bad\after.ini,S,K=still runs
""".replace("LONG_PATH", long_path).replace("LONG_NAME", "k" * 300).replace("DEEP", deep).replace("BIG", big)
        log = self.install("inicmdbad", script, {"files.zip": {"file.txt": b"content"}})
        text = "\n".join(log)
        self.assertIn("Cannot write to HKEY_NOPESoftware\\VekIniE2E,N.&& (Unknown Registry RootKey : HKEY_NOPE)",
                      log)
        self.assertIn("INI command on \"NUL\" [S]: failed, the file part names a device and is not run", log)
        self.assertIn("INI command on \"C:\\INICMD\\BAD\\COM1.INI\" [S]: failed, the file part names a device "
                      "and is not run", log)
        self.assertIn("INI command on \"\\\\.\\C:\" [S]: failed, the file part names a device and is not run", log)
        self.assertIn("INI command on \"C:\\INICMD\\BAD\" [S]: failed, the file part names a folder and is not run",
                      log)
        self.assertIn("the file part is longer than 259 characters and is not run", text)
        self.assertIn("a key name in the path is longer than 255 characters and is not run", text)
        # The unclosed token is part of the file name, which the system refuses.
        self.assertIn("Cannot write to <KEYEXISTS C:\\INICMD\\BAD\\UNCLOSED.INI.", log)
        self.assertIn("INI: C:\\INICMD\\BAD\\AFTER.INI , [S] K = still runs", log)
        # What the commands could do, they did; nothing else appeared.
        self.assertEqual(sorted(p.name for p in bad.iterdir()), ["AFTER.INI", "BIG.INI"])
        self.assertEqual(h.profile_read(bad / "BIG.INI")["S"]["K"], big)
        self.assertEqual(reg_query_types(HKCU_REG)["Big"], ("REG_SZ", big))
        self.assertEqual(reg_query_types(HKCU_REG + "\\Deep\\" + deep), {"N": ("REG_SZ", "V")})


if __name__ == "__main__":
    h.main()

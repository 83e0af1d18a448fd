"""Reads what a Windows program file tells the loader: the DLLs of its import table and of its
delay-load table, with the functions it takes from each. Plain Python, no Windows needed."""
import struct
from pathlib import Path

IMPORT_DIRECTORY, DELAY_IMPORT_DIRECTORY = 1, 13

# The known DLLs that Windows 7 and every later version list
# (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs): the system maps them from
# its own folder and never searches for them. And ntdll, mapped into every process first.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}


class PeImage:
    def __init__(self, path: Path):
        self.data = Path(path).read_bytes()
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path} is not a program file")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path} has no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", self.data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", self.data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        count = struct.unpack_from("<I", self.data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i) for i in range(count)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            size, address, raw_size, raw_offset = struct.unpack_from("<IIII", self.data, table + 40 * i + 8)
            self.sections.append((address, max(size, raw_size), raw_offset))
        self.wide = magic == 0x20B

    def offset(self, rva: int) -> int:
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def text(self, rva: int) -> str:
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def _thunk_names(self, rva: int) -> list:
        names, step = [], 8 if self.wide else 4
        ordinal_flag = 1 << (63 if self.wide else 31)
        while rva:
            value = struct.unpack_from("<Q" if self.wide else "<I", self.data, self.offset(rva))[0]
            if value == 0:
                break
            names.append(f"#{value & 0xFFFF}" if value & ordinal_flag else self.text(value + 2))
            rva += step
        return names

    def imports(self) -> dict:
        """{dll name: [function names, "#n" for an ordinal]} of the import table."""
        rva, _ = self.directories[IMPORT_DIRECTORY]
        found = {}
        while rva:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if name == 0:
                break
            found[self.text(name)] = self._thunk_names(lookup or first)
            rva += 20
        return found

    def delay_imports(self) -> dict:
        """{dll name: [function names]} of the delay-load table (mingw-w64's delay-load libraries
        do not fill it: their descriptors are plain data, found by the names in the file)."""
        if len(self.directories) <= DELAY_IMPORT_DIRECTORY:
            return {}
        rva, _ = self.directories[DELAY_IMPORT_DIRECTORY]
        found = {}
        while rva:
            _, name, _, _, names = struct.unpack_from("<IIIIII", self.data, self.offset(rva))[:5]
            if name == 0:
                break
            found[self.text(name)] = self._thunk_names(names)
            rva += 32
        return found

    def exports(self) -> list:
        """The names the file exports (a library's functions by name)."""
        rva, _ = self.directories[0]
        if not rva:
            return []
        count, names = struct.unpack_from("<I4xI", self.data, self.offset(rva) + 24)
        return [self.text(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0]) for i in range(count)]

"""setup.exe's import table names only libraries that Windows always takes from its own folder
(its known DLLs, the same on every supported version). The loader resolves the import table
before the program's first instruction, when the library search still starts in the program's
folder: any other library there could be replaced by a file planted beside the program. Every
other library is delay-loaded or loaded by its full path. Reads the built file; no Wine."""
import os
import unittest
from pathlib import Path

import peimage

SETUP_EXE = Path(os.environ["VEK_SETUP_EXE"])

def outside_known(names) -> list:
    return sorted(name for name in names if name.lower() not in peimage.KNOWN_DLLS)


class ImportTable(unittest.TestCase):
    def test_imports_only_known_system_libraries(self):
        image = peimage.PeImage(SETUP_EXE)
        imports = image.imports()
        self.assertIn("KERNEL32.dll", imports)  # the reader works
        self.assertEqual(outside_known(imports), [], "import these through a delay-load library instead")

    def test_imports_by_name_only(self):
        # An ordinal means another thing in another version of a library.
        for dll, functions in peimage.PeImage(SETUP_EXE).imports().items():
            self.assertEqual([f for f in functions if f.startswith("#")], [], dll)


if __name__ == "__main__":
    unittest.main(verbosity=2)

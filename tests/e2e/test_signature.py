"""setup.exe signed as a release is signed (tools/sign-setup.sh, with a certificate made here
for the test and thrown away): the signature verifies, and any change to the signed bytes
breaks it. The signed copy is left in build/windows/signed for the end-to-end tests that run
it (ctest's e2e_signed_*): it must still run, read its own resources and relaunch itself."""
import os
import shutil
import subprocess
import unittest
from pathlib import Path

SETUP_EXE = Path(os.environ["VEK_SETUP_EXE"])
SIGN_SCRIPT = os.environ["VEK_SIGN_SCRIPT"]
SIGNED_DIR = Path(os.environ["VEK_SIGNED_DIR"])


def run(*args: str) -> subprocess.CompletedProcess:
    return subprocess.run(args, capture_output=True, text=True)


def verify(program: Path) -> subprocess.CompletedProcess:
    return run("osslsigncode", "verify", "-CAfile", str(SIGNED_DIR / "cert.pem"), "-in", str(program))


class Signature(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(SIGNED_DIR, ignore_errors=True)
        SIGNED_DIR.mkdir(parents=True)
        key, cert = SIGNED_DIR / "key.pem", SIGNED_DIR / "cert.pem"
        made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                   "-subj", "/CN=Vek Setup test signature", "-addext", "keyUsage=critical,digitalSignature",
                   "-addext", "extendedKeyUsage=codeSigning", "-keyout", str(key), "-out", str(cert))
        assert made.returncode == 0, made.stderr
        # The release build takes a PKCS#12 file and a password file: so does the test.
        password = SIGNED_DIR / "password.txt"
        password.write_text("throwaway")
        pfx = SIGNED_DIR / "test.pfx"
        made = run("openssl", "pkcs12", "-export", "-inkey", str(key), "-in", str(cert), "-out", str(pfx),
                   "-passout", f"file:{password}")
        assert made.returncode == 0, made.stderr
        cls.signed = SIGNED_DIR / "setup.exe"
        signed = run(SIGN_SCRIPT, "--pkcs12", str(pfx), "--password-file", str(password), str(SETUP_EXE),
                     str(cls.signed))
        assert signed.returncode == 0, signed.stderr
        key.unlink()

    def test_the_signed_program_verifies(self):
        result = verify(self.signed)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("Signature verification: ok", result.stdout)

    def test_a_changed_byte_breaks_the_signature(self):
        changed = SIGNED_DIR / "changed.exe"
        data = bytearray(self.signed.read_bytes())
        data[len(data) // 3] ^= 0x01
        changed.write_bytes(bytes(data))
        self.addCleanup(changed.unlink)
        self.assertNotEqual(verify(changed).returncode, 0)

    def test_signing_in_place_replaces_the_program_only_when_it_succeeds(self):
        copy = SIGNED_DIR / "in-place.exe"
        shutil.copyfile(SETUP_EXE, copy)
        self.addCleanup(copy.unlink)
        failed = run(SIGN_SCRIPT, "--pkcs12", str(SIGNED_DIR / "missing.pfx"), str(copy), str(copy))
        self.assertNotEqual(failed.returncode, 0)
        self.assertEqual(copy.read_bytes(), SETUP_EXE.read_bytes())
        self.assertEqual(sorted(p.name for p in SIGNED_DIR.glob("in-place*")), ["in-place.exe"])


if __name__ == "__main__":
    unittest.main(verbosity=2)

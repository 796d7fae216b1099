"""The analysis readers in tools/readers, fed .mdt files that the scope's own encoder wrote.

    python3 readers_test.py PATH/TO/mdt_sample_writer

The .m reader is checked too when octave-cli is on the PATH.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # no __pycache__ left in the source tree
READERS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tools", "readers")
sys.path.insert(0, READERS)
from ondrix_mdt import read_mdt  # noqa: E402

# The columns tests/MdtSampleWriter.cpp writes into sample.mdt.
SAMPLE = [[0, 1, -1], [32767, -32768, 2], [-2, 3, 256], [5, -6, 4660]]
WRITER = None


class WrittenFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="ondrix-readers-")
        subprocess.run([WRITER, cls.folder], check=True)
        cls.sample = os.path.join(cls.folder, "sample.mdt")
        cls.empty = os.path.join(cls.folder, "empty.mdt")
        with open(cls.sample, "rb") as stream:
            whole = stream.read()
        # A count that promises more than is there, or less, and a file too short for a count.
        cls.damaged = []
        for name, data in (("longer", whole + b"\0"), ("shorter", whole[:-1]), ("two bytes", whole[:2]), ("empty", b"")):
            path = os.path.join(cls.folder, "damaged-" + name.replace(" ", "-") + ".mdt")
            with open(path, "wb") as stream:
                stream.write(data)
            cls.damaged.append((name, path))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)


class PythonReader(WrittenFiles):
    def test_values_come_back_signed_and_in_channel_order(self):
        self.assertEqual(read_mdt(self.sample), SAMPLE)

    def test_no_points(self):
        self.assertEqual(read_mdt(self.empty), [[], [], [], []])

    def test_wrong_size_is_refused(self):
        for name, path in self.damaged:
            with self.subTest(name):
                with self.assertRaises(ValueError):
                    read_mdt(path)

    def test_program_prints_one_line_per_point(self):
        printed = subprocess.run([sys.executable, os.path.join(READERS, "ondrix_mdt.py"), self.sample],
                                 check=True, capture_output=True, text=True).stdout
        self.assertEqual(printed.splitlines(), ["0\t0\t32767\t-2\t5", "1\t1\t-32768\t3\t-6", "2\t-1\t2\t256\t4660"])


@unittest.skipUnless(shutil.which("octave-cli"), "octave-cli is not installed")
class MFileReader(WrittenFiles):
    def run_m(self, statements):
        readers = READERS.replace("'", "''")
        result = subprocess.run(["octave-cli", "--no-gui", "--norc", "--quiet", "--eval",
                                 f"addpath('{readers}'); {statements}"],
                                capture_output=True, text=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout.split()

    def read(self, path):
        quoted = path.replace("'", "''")
        return self.run_m(f"[n, a, b, c, d] = ondrix_mdt('{quoted}'); "
                           f"printf('%d\\n', n, size(a, 1), size(a, 2)); printf('%d\\n', [a b c d]);")

    def test_values_come_back_signed_and_in_channel_order(self):
        words = [int(word) for word in self.read(self.sample)]
        self.assertEqual(words[:3], [3, 3, 1])
        self.assertEqual(words[3:], [value for column in SAMPLE for value in column])

    def test_no_points(self):
        self.assertEqual(self.read(self.empty), ["0", "0", "1"])

    def test_wrong_size_is_refused(self):
        for name, path in self.damaged:
            with self.subTest(name):
                quoted = path.replace("'", "''")
                said = self.run_m(f"try, ondrix_mdt('{quoted}'); disp('read'); catch e, disp(e.identifier); end")
                self.assertEqual(said, ["ondrix_mdt:size"])


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(f"usage: {sys.argv[0]} PATH/TO/mdt_sample_writer")
    WRITER = sys.argv[1]
    unittest.main(argv=sys.argv[:1], verbosity=2)

"""Reads the scope's analysis export (".mdt") in Python 3, with the standard library only.

The file holds, little-endian: n, the number of points per channel (unsigned 32-bit), then
channel 1's n values, channel 2's, channel 3's and channel 4's (signed 16-bit each, oldest
first): 8n + 4 bytes in all, with no titles, addresses or X values.

    from ondrix_mdt import read_mdt
    ch1, ch2, ch3, ch4 = read_mdt("trace.mdt")

Point i of the four channels was taken at the same sample. Run as a program, it prints one
line per point: the index and the four values, tab-separated.
"""

import struct
import sys

CHANNELS = 4


def read_mdt(path):
    """Returns the four channels as four lists of ints of equal length.

    Raises ValueError when the file's size is not 8n + 4 for the n it starts with, so that a
    cut or foreign file is refused rather than read as wrong columns.
    """
    with open(path, "rb") as stream:
        data = stream.read()
    if len(data) < 4:
        raise ValueError(f"{path}: {len(data)} bytes, too short for the point count")
    (n,) = struct.unpack_from("<I", data, 0)
    if len(data) != 8 * n + 4:
        raise ValueError(f"{path}: {len(data)} bytes, but {n} points per channel need {8 * n + 4}")
    values = struct.unpack_from(f"<{CHANNELS * n}h", data, 4)
    return [list(values[c * n:(c + 1) * n]) for c in range(CHANNELS)]


def main(argv):
    if len(argv) != 2:
        print(f"usage: {argv[0]} FILE.mdt", file=sys.stderr)
        return 2
    try:
        columns = read_mdt(argv[1])
    except (OSError, ValueError) as error:
        print(error, file=sys.stderr)
        return 1
    for i, row in enumerate(zip(*columns)):
        print(i, *row, sep="\t")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Writes waveform_tables.c: the tables behind the sine, cosine and damped test signals.

They hold the virtual MPU's values (tools/mpu-sim/MemoryMap.cpp), rounded as it rounds them
(half away from zero), so that a reader checking those signals finds the same numbers on the
board. Run it again only if a formula there changes:

    python3 mpu/boards/mps2-an385/make_waveform_tables.py > mpu/boards/mps2-an385/waveform_tables.c
"""
import math


def rounded(value):
    return int(math.copysign(math.floor(abs(value) + 0.5), value))


def rows(values, per_line=10):
    return "\n".join("    " + " ".join(f"{v}," for v in values[i:i + per_line])
                     for i in range(0, len(values), per_line))


# A quarter of the sine wave is enough: the rest is the same numbers mirrored (signal.c's
# sine_at), which holds exactly for these roundings.
quarter = [rounded(20000 * math.sin(2 * math.pi * k / 1000)) for k in range(251)]
whole = [rounded(20000 * math.sin(2 * math.pi * k / 1000)) for k in range(1000)]
assert all(whole[k] == quarter[k] for k in range(251))
assert all(whole[k] == quarter[500 - k] for k in range(250, 501))
assert all(whole[k] == -whole[k - 500] for k in range(500, 1000))
assert all(rounded(20000 * math.cos(2 * math.pi * k / 1000)) == whole[(k + 250) % 1000] for k in range(1000))

damped = [rounded(30000 * math.exp(-t / 400) * math.cos(2 * math.pi * t / 100)) for t in range(2000)]

print(f"""/* Written by make_waveform_tables.py; see there before changing a number. */
#include "signals.h"

/* round(20000 sin(2 pi k / 1000)) for k = 0 .. 250. */
const int16_t quarter_sine[SIGNAL_QUARTER_SINE_STEPS] = {{
{rows(quarter)}
}};

/* round(30000 exp(-t / 400) cos(2 pi t / 100)) for t = 0 .. 1999. */
const int16_t damped_wave[SIGNAL_DAMPED_STEPS] = {{
{rows(damped)}
}};""")

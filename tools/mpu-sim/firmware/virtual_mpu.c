/* The virtual MPU's memory map as a firmware would declare it: real variables with their real
 * types, so that a debugger or the scope can read them by name rather than by address. The
 * simulator serves these words at these addresses (tools/mpu-sim/MemoryMap.h); this file only
 * gives them names, types and the constants' initial values.
 *
 * Each variable sits in a section of its own, and virtual_mpu.ld lays them out one after another
 * from 0x20000000: the compiler is free to emit variables in any order, the linker script is not.
 */

#include <stdint.h>

/* The waveforms and counters change every monitoring period behind the back of any reader. */
#define MPU_VARIABLE(name) __attribute__((used, section(".mpu_ram." #name))) volatile int16_t name

MPU_VARIABLE(sine);
MPU_VARIABLE(cosine);
MPU_VARIABLE(triangle);
MPU_VARIABLE(square);
MPU_VARIABLE(sawtooth);
MPU_VARIABLE(noise);
MPU_VARIABLE(damped);
MPU_VARIABLE(slow_counter);
MPU_VARIABLE(sample_counter);

/* Known words, so that a reader can check byte order and sign handling end to end. */
struct constants {
    int16_t one;
    int16_t minus_one;
    int16_t k256;
    int16_t k4660;
    int16_t max;
    int16_t min;
};

/* Some targets widen the alignment of larger objects, which would open a gap before this one. */
__attribute__((used, aligned(2), section(".mpu_ram.constants"))) const struct constants constants = {
    .one = 1,
    .minus_one = -1,
    .k256 = 256,
    .k4660 = 0x1234,
    .max = INT16_MAX,
    .min = INT16_MIN,
};

#include "signals.h"

/* Nothing in the firmware reads them: a section of their own, which the linker script keeps,
 * saves them from --gc-sections. */
__attribute__((used, section(".keep.constants"))) const struct constants constants = {
    .one = 1,
    .minus_one = -1,
    .k256 = 256,
    .k4660 = 0x1234,
    .max = INT16_MAX,
    .min = INT16_MIN,
};

/* volatile: the scope reads them, the firmware itself only writes them. */
volatile int16_t sine;
volatile int16_t cosine;
volatile int16_t triangle;
volatile int16_t square;
volatile int16_t sawtooth;
volatile int16_t noise;
volatile int16_t damped;
volatile int16_t slow_counter;
volatile int16_t sample_counter;

/* Periods since reset. 32 bits last 4.9 days at the fast build's 100 us; the noise, which
 * depends on all of k, repeats after that, the rest long before. */
static uint32_t period;

int16_t sine_at(uint32_t step) {
    const uint32_t half = SIGNAL_SINE_STEPS / 2u;
    const uint32_t quarter = SIGNAL_SINE_STEPS / 4u;
    const uint32_t in_half = step % half;
    const int16_t magnitude = quarter_sine[in_half <= quarter ? in_half : half - in_half];
    return step % SIGNAL_SINE_STEPS < half ? magnitude : (int16_t)-magnitude;
}

/* A hash of k rather than a generator, as the virtual MPU has it: the value at k does not depend
 * on what came before. */
static uint64_t splitmix64(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

void signals_update(void) {
    const uint32_t k = period++;
    const int32_t t = (int32_t)((k + 250u) % 1000u);
    sine = sine_at(k % SIGNAL_SINE_STEPS);
    cosine = sine_at((k + SIGNAL_SINE_STEPS / 4u) % SIGNAL_SINE_STEPS);
    triangle = (int16_t)(t < 500 ? 80 * t - 20000 : 60000 - 80 * t);
    square = k % 1000u < 500u ? 15000 : -15000;
    sawtooth = (int16_t)(80 * (int32_t)(k % 500u) - 20000);
    noise = (int16_t)((int32_t)(splitmix64(k) % 20001u) - 10000);
    damped = damped_wave[k % SIGNAL_DAMPED_STEPS];
    slow_counter = (int16_t)(uint16_t)(k / 100u);
    sample_counter = (int16_t)(uint16_t)k;
}

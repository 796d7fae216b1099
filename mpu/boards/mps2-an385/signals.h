/* Test signals for checking a link to the scope end to end: the virtual MPU's variables, with
 * its names, types and values (tools/mpu-sim/MemoryMap.h), so that what is read from the
 * virtual MPU can be read from this board by the same names. k counts the monitoring periods
 * since reset, from 0 for the first frame. */
#ifndef SIGNALS_H
#define SIGNALS_H

#include <stdint.h>

#define SIGNAL_SINE_STEPS 1000u
#define SIGNAL_QUARTER_SINE_STEPS (SIGNAL_SINE_STEPS / 4u + 1u)
#define SIGNAL_DAMPED_STEPS 2000u
#define SIGNAL_SINE_AMPLITUDE 20000

/* Known words, so that a reader can check byte order and sign handling. */
struct constants {
    int16_t one;
    int16_t minus_one;
    int16_t k256;
    int16_t k4660;
    int16_t max;
    int16_t min;
};
extern const struct constants constants;

/* Brought up to date by signals_update() at the start of each period. */
extern volatile int16_t sine;           /* round(20000 sin(2 pi k / 1000)) */
extern volatile int16_t cosine;         /* round(20000 cos(2 pi k / 1000)) */
extern volatile int16_t triangle;       /* -20000..20000, period 1000, in phase with the sine */
extern volatile int16_t square;         /* 15000 for the first half of each 1000, then -15000 */
extern volatile int16_t sawtooth;       /* 80 (k mod 500) - 20000 */
extern volatile int16_t noise;          /* uniform in -10000..10000, a fixed function of k */
extern volatile int16_t damped;         /* round(30000 exp(-t/400) cos(2 pi t/100)), t = k mod 2000 */
extern volatile int16_t slow_counter;   /* k / 100, wrapping at 16 bits */
extern volatile int16_t sample_counter; /* k, wrapping at 16 bits: a gap shows a lost frame */

extern const int16_t quarter_sine[SIGNAL_QUARTER_SINE_STEPS];
extern const int16_t damped_wave[SIGNAL_DAMPED_STEPS];

/* round(20000 sin(2 pi step / 1000)) for step 0..999, from the quarter-wave table. */
int16_t sine_at(uint32_t step);

/* Sets the signals to their values at period k, and moves k on. */
void signals_update(void);

#endif /* SIGNALS_H */

/* A Cortex-M3 has no floating-point unit: this arithmetic calls libgcc's software routines,
 * which bring their own debug information into a firmware built without any. */
#include <stdint.h>

float gain = 1.25f;
double offset = -0.5;
float samples[8];
static double integral;
static volatile uint32_t overflow_count;
const float coefficients[3] = {0.25f, 0.5f, 0.25f};

float smooth(int32_t raw) {
    samples[raw & 7] = (float)raw * gain;
    integral += (double)samples[raw & 7] / (offset + 3.0);
    if (integral > 1e6) ++overflow_count;
    return samples[0] * coefficients[0] + samples[1] * coefficients[1] + (float)integral;
}

int main(void) { return (int)smooth(42); }

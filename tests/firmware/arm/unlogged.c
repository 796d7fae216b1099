/* Built without debug information: a vendor library's state, known only by its symbols. */
#include <stdint.h>

uint32_t vendor_state[5];
uint16_t vendor_mode = 2;
static uint32_t vendor_calls;

uint32_t unlogged_step(uint32_t input) {
    vendor_state[input % 5] += input;
    return ++vendor_calls + vendor_mode;
}

/* Counters a C firmware keeps inside the functions that update them. */
#include <stdint.h>

struct window {
    uint16_t samples[4];
    uint8_t next;
};

uint32_t tick(void) {
    static uint32_t counter;
    static struct window recent;
    recent.samples[recent.next++ & 3] = (uint16_t)counter;
    return ++counter;
}

int32_t filter(int32_t input) {
    static int32_t state[2];
    state[1] = state[0];
    state[0] = input;
    return (state[0] + state[1]) / 2;
}

/* The half of a firmware built with debug information; unlogged.c is the half built without. */
#include <stdint.h>

struct reading {
    int16_t value;
    uint8_t channel;
};

struct reading last_reading;
uint32_t logged_total = 3;
static int16_t logged_history[6];

uint32_t unlogged_step(uint32_t input);

int main(void) {
    logged_history[logged_total % 6] = last_reading.value;
    logged_total += unlogged_step((uint32_t)last_reading.channel);
    return (int)logged_total;
}

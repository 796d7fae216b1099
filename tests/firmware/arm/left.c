/* left.c and right.c each keep a file-local "errors" and "config": one name, two variables. */
#include <stdint.h>

static uint16_t errors;
static struct {
    uint8_t retries;
    uint16_t timeout;
} config = {3, 100};

uint16_t right_check(uint16_t value);

uint16_t left_check(uint16_t value) {
    if (value > config.timeout) ++errors;
    return errors + config.retries;
}

int main(void) { return left_check(7) + right_check(9); }

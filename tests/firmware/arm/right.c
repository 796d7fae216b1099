/* The other file-local "errors" and "config"; see left.c. */
#include <stdint.h>

static uint32_t errors;
static struct {
    uint16_t retries;
    uint32_t timeout;
    uint8_t channel;
} config = {5, 2000, 1};

uint16_t right_check(uint16_t value) {
    if (value > config.timeout) ++errors;
    return (uint16_t)(errors + config.retries + config.channel);
}

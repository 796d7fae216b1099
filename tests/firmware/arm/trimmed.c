/* Built with every variable and function in a section of its own and --gc-sections: what main
 * does not reach is gone from the image, but the compiler described it all the same. */
#include <stdint.h>

struct settings {
    uint16_t period;
    int8_t trim[3];
};

uint32_t kept_counter;
int16_t kept_table[4] = {1, 2, 3, 4};
struct settings kept_settings = {.period = 250};
static uint8_t kept_flags;

uint32_t dropped_counter;
int16_t dropped_table[4] = {5, 6, 7, 8};
struct settings dropped_settings = {.period = 500};
static uint32_t dropped_file_static;

void dropped_function(void) {
    static uint16_t dropped_local;
    dropped_local += (uint16_t)dropped_settings.period;
    dropped_file_static += dropped_counter + (uint32_t)dropped_table[dropped_local & 3];
}

uint32_t kept_function(void) {
    static uint16_t kept_local;
    kept_local += kept_settings.period;
    kept_flags ^= (uint8_t)kept_local;
    return ++kept_counter + (uint32_t)kept_table[kept_flags & 3] + (uint32_t)kept_settings.trim[1];
}

int main(void) { return (int)kept_function(); }

/* The least a Cortex-M3 needs to start: the vector table at the start of flash and a reset
 * handler that lays out RAM the way C expects before main runs. */
#include <stdint.h>

extern uint32_t _estack, _sidata, _sdata, _edata, _sbss, _ebss;
int main(void);

void Reset_Handler(void) {
    const uint32_t* from = &_sidata;
    for (uint32_t* to = &_sdata; to < &_edata;) *to++ = *from++;
    for (uint32_t* to = &_sbss; to < &_ebss;) *to++ = 0;
    main();
    for (;;) {
    }
}

static void Default_Handler(void) {
    for (;;) {
    }
}

__attribute__((section(".isr_vector"), used)) static void (*const vectors[])(void) = {
    (void (*)(void))&_estack, Reset_Handler, Default_Handler, Default_Handler,
};

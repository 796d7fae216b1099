/* Reset and the vector table. The core takes its initial stack pointer and the reset address
 * from the first two words of the table, which the linker script puts at address 0; every other
 * entry names a handler a board file may define, and falls back to a loop that a debugger finds
 * the firmware in. */
#include <stdint.h>

#include "board.h"

extern uint32_t __stack_top[];
extern uint32_t __data_load[], __data_start[], __data_end[];
extern uint32_t __bss_start[], __bss_end[];

int main(void);

void Reset_Handler(void);
void Default_Handler(void);

#define WEAK_HANDLER(name) void name(void) __attribute__((weak, alias("Default_Handler")))
WEAK_HANDLER(NMI_Handler);
WEAK_HANDLER(HardFault_Handler);
WEAK_HANDLER(MemManage_Handler);
WEAK_HANDLER(BusFault_Handler);
WEAK_HANDLER(UsageFault_Handler);
WEAK_HANDLER(SVC_Handler);
WEAK_HANDLER(DebugMon_Handler);
WEAK_HANDLER(PendSV_Handler);
WEAK_HANDLER(SysTick_Handler);
WEAK_HANDLER(UART0_RX_Handler);
WEAK_HANDLER(UART0_TX_Handler);

typedef void (*vector)(void);

__attribute__((section(".vectors"), used)) const vector vector_table[16u + BOARD_IRQ_COUNT] = {
    (vector)(uintptr_t)__stack_top,
    Reset_Handler,
    NMI_Handler,
    HardFault_Handler,
    MemManage_Handler,
    BusFault_Handler,
    UsageFault_Handler,
    0, 0, 0, 0, /* reserved */
    SVC_Handler,
    DebugMon_Handler,
    0, /* reserved */
    PendSV_Handler,
    SysTick_Handler,
    /* External interrupts from 16 on; this firmware uses the first UART's two. The others are
     * never enabled, so only a fault could reach their entries. */
    [16u + BOARD_UART0_RX_IRQ] = UART0_RX_Handler,
    [16u + BOARD_UART0_TX_IRQ] = UART0_TX_Handler,
    [16u + BOARD_UART0_TX_IRQ + 1u ... 16u + BOARD_IRQ_COUNT - 1u] = Default_Handler,
};

void Reset_Handler(void) {
    /* C's view of memory before any C code relies on it: initialised data from its load image,
     * everything else zero. Word copies: the linker script aligns both ends. */
    const uint32_t *from = __data_load;
    for (uint32_t *to = __data_start; to < __data_end;) *to++ = *from++;
    for (uint32_t *to = __bss_start; to < __bss_end;) *to++ = 0u;
    /* Where the table is, for a boot loader that jumped here with another one in force. */
    SCB_VTOR = (uint32_t)(uintptr_t)vector_table;
    (void)main();
    for (;;) board_wait_for_interrupt();
}

void Default_Handler(void) {
    for (;;) {
    }
}

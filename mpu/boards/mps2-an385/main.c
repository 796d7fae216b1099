/* The demo firmware of the emulated board: the drive of drive.c and the test signals of
 * signals.c, watched by the scope over UART0.
 *
 * Every monitoring period SysTick runs the application's step and then samples the scope's four
 * words, so that each frame shows one finished step. The UART's interrupts carry the request in
 * and the frame out. Between interrupts the core sleeps. */
#include <stdint.h>

#include "board.h"
#include "cmsdk_uart.h"
#include "drive.h"
#include "ondrix_mpu.h"
#include "signals.h"

/* The emulated board's UART ignores the rate. On a real board the scope's port is set to it,
 * and a frame's ten bytes (0.87 ms at this rate) must fit in the monitoring period: the fast
 * build's 100 us would want a megabaud line. */
#define SCOPE_BAUD 115200u

static const cmsdk_uart scope_uart = {
    .registers = (cmsdk_uart_registers *)BOARD_UART0_BASE,
    .rx_irq = BOARD_UART0_RX_IRQ,
    .tx_irq = BOARD_UART0_TX_IRQ,
};

static ondrix_mpu scope;

/* The scope may read the board's two memories and nothing else: a mistyped address would
 * otherwise reach the peripherals, where a read can clear a flag, or the gaps between them,
 * where it faults. */
static ondrix_mpu_range readable[2];

static void put_byte(void *context, uint8_t byte) { cmsdk_uart_put(context, byte); }

static void transmit_interrupt(void *context, int enable) { cmsdk_uart_transmit_interrupt(context, enable); }

static void receive_byte(uint8_t byte) { ondrix_mpu_receive(&scope, byte); }

void UART0_RX_Handler(void) { cmsdk_uart_receive_interrupt(&scope_uart, receive_byte); }

void UART0_TX_Handler(void) {
    if (cmsdk_uart_transmit_ready(&scope_uart)) ondrix_mpu_transmit(&scope);
}

void SysTick_Handler(void) {
    signals_update();
    drive_step(BOARD_PERIOD_US);
    ondrix_mpu_monitor(&scope);
}

static void start_systick(void) {
    SYST_CSR = 0u;
    SYST_RVR = BOARD_SYSTICK_RELOAD;
    SYST_CVR = 0u;
    /* SysTick's priority is the top byte of SHPR3. */
    SCB_SHPR3 = (SCB_SHPR3 & 0x00FFFFFFu) | ((uint32_t)BOARD_SYSTICK_PRIORITY << 24);
    SYST_CSR = SYST_CSR_CLKSOURCE_CPU | SYST_CSR_TICKINT | SYST_CSR_ENABLE;
}

int main(void) {
    readable[0].first = (uint32_t)(uintptr_t)__code_memory_start;
    readable[0].last = (uint32_t)(uintptr_t)__code_memory_end - 1u;
    readable[1].first = (uint32_t)(uintptr_t)__data_memory_start;
    readable[1].last = (uint32_t)(uintptr_t)__data_memory_end - 1u;

    const ondrix_mpu_config config = {
        .put_byte = put_byte,
        .transmit_interrupt = transmit_interrupt,
        .read_word = 0,
        .context = (void *)&scope_uart,
        .readable = readable,
        .readable_count = sizeof readable / sizeof readable[0],
    };
    ondrix_mpu_init(&scope, &config);
    SCB_AIRCR = SCB_AIRCR_VECTKEY | (BOARD_PRIORITY_GROUPING << 8);
    cmsdk_uart_init(&scope_uart, BOARD_CPU_HZ, SCOPE_BAUD, BOARD_UART_PRIORITY);
    start_systick();
    board_enable_interrupts();
    for (;;) board_wait_for_interrupt();
}

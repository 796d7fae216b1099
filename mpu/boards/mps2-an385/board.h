/* The MPS2 board with the AN385 image (a Cortex-M3 at 25 MHz), as far as this firmware uses it.
 * Addresses and interrupt numbers are the board's; they were checked on the emulated board
 * (qemu-system-arm -machine mps2-an385), whose UART0 raises IRQ 0 for a received byte and
 * IRQ 1 for a sent one. */
#ifndef BOARD_H
#define BOARD_H

#include <stdint.h>

/* The CPU and SysTick both run from the board's one system clock. */
#define BOARD_CPU_HZ 25000000u

/* The monitoring period: one SysTick, one frame to the scope. The build chooses it (the demo is
 * built at 1000 us and, as the fast variant, at 100 us); a firmware's control period is fixed
 * when it is designed, not switched while it runs. */
#ifndef BOARD_PERIOD_US
#define BOARD_PERIOD_US 1000u
#endif
#define BOARD_SYSTICK_RELOAD ((BOARD_CPU_HZ / 1000000u) * BOARD_PERIOD_US - 1u)
/* SysTick's counter is 24 bits wide. */
_Static_assert(BOARD_SYSTICK_RELOAD <= 0xFFFFFFu, "the period is too long for SysTick");

#define BOARD_UART0_BASE 0x40004000u
#define BOARD_UART0_RX_IRQ 0u
#define BOARD_UART0_TX_IRQ 1u
/* What the vector table reserves for external interrupts. */
#define BOARD_IRQ_COUNT 32u

/* The core's own registers (the System Control Space). */
#define SCS_REG(offset) (*(volatile uint32_t *)(0xE000E000u + (offset)))
#define SYST_CSR SCS_REG(0x010u)
#define SYST_RVR SCS_REG(0x014u)
#define SYST_CVR SCS_REG(0x018u)
#define NVIC_ISER0 SCS_REG(0x100u)
#define NVIC_ICER0 SCS_REG(0x180u)
#define NVIC_ISPR0 SCS_REG(0x200u)
#define NVIC_ICPR0 SCS_REG(0x280u)
#define NVIC_IPR_BYTE(irq) (*(volatile uint8_t *)(0xE000E400u + (irq)))
#define SCB_VTOR SCS_REG(0xD08u)
#define SCB_SHPR3 SCS_REG(0xD20u)

#define SYST_CSR_ENABLE 0x1u
#define SYST_CSR_TICKINT 0x2u
#define SYST_CSR_CLKSOURCE_CPU 0x4u

/* Priorities: the top two bits preempt, the rest only orders pending interrupts (AIRCR's
 * PRIGROUP 5; a Cortex-M3 implements at least the top three bits). SysTick and the UART share
 * the preempting part, so that neither cuts into the other while the scope's module updates its
 * state (see ondrix_mpu.h). When both are pending, the UART goes first: a frame's next byte is
 * sent before the next period starts a new frame. Without that, a SysTick that comes while a
 * frame is still going out (a tick delayed and then caught up with, as an emulator does on a
 * busy host) would cut the frame short and lose it. */
#define SCB_AIRCR SCS_REG(0xD0Cu)
#define SCB_AIRCR_VECTKEY 0x05FA0000u
#define BOARD_PRIORITY_GROUPING 5u
#define BOARD_UART_PRIORITY 0x80u
#define BOARD_SYSTICK_PRIORITY 0xA0u

/* The memories the linker script places the image in: SSRAM1 holds the code (the board loads
 * the image there, so it plays the part of flash), SSRAM2 and 3 the data. */
extern const uint8_t __code_memory_start[];
extern const uint8_t __code_memory_end[];
extern uint8_t __data_memory_start[];
extern uint8_t __data_memory_end[];

static inline void board_enable_interrupts(void) { __asm volatile("cpsie i" ::: "memory"); }
static inline void board_wait_for_interrupt(void) { __asm volatile("wfi" ::: "memory"); }

#endif /* BOARD_H */

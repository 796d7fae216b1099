/* The image for the MPS2 board with the AN385 image: code and constants in SSRAM1 from 0 (where
 * the vector table must be at reset), data and the stack in SSRAM2/3 from 0x20000000. The board
 * loads the whole image into SSRAM1; startup.c copies the initial data from there into place. */
ENTRY(Reset_Handler)

MEMORY
{
  CODE (rx)  : ORIGIN = 0x00000000, LENGTH = 4M
  DATA (rw)  : ORIGIN = 0x20000000, LENGTH = 4M
}

/* The memories as a whole, for the scope's readable ranges (board.h). */
__code_memory_start = ORIGIN(CODE);
__code_memory_end = ORIGIN(CODE) + LENGTH(CODE);
__data_memory_start = ORIGIN(DATA);
__data_memory_end = ORIGIN(DATA) + LENGTH(DATA);

/* The stack grows down from the top of the data memory. */
__stack_size = 8K;
__stack_top = ORIGIN(DATA) + LENGTH(DATA);

SECTIONS
{
  .vectors :
  {
    KEEP(*(.vectors))
  } > CODE

  .text :
  {
    *(.text .text.*)
    *(.rodata .rodata.*)
    /* Words for a reader of the memory, which no code refers to. */
    KEEP(*(.keep .keep.*))
    . = ALIGN(4);
  } > CODE

  /* Unwind tables of the C library's routines; nothing here unwinds, but the linker places
   * them when they come. */
  .ARM.exidx :
  {
    *(.ARM.exidx .ARM.exidx.*)
  } > CODE

  .data : ALIGN(4)
  {
    __data_start = .;
    *(.data .data.*)
    . = ALIGN(4);
    __data_end = .;
  } > DATA AT > CODE
  __data_load = LOADADDR(.data);

  .bss (NOLOAD) : ALIGN(4)
  {
    __bss_start = .;
    *(.bss .bss.* COMMON)
    . = ALIGN(4);
    __bss_end = .;
  } > DATA

  /* Fails the link, rather than the firmware at run time, when the data grows into the stack. */
  ASSERT(__bss_end + __stack_size <= __stack_top, "no room left for the stack")
}

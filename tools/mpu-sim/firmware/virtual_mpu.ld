/* The virtual MPU's RAM, variable by variable in address order. The file holds no code: it exists
 * to be read, not run, so tools/mpu-sim/CMakeLists.txt links it with entry address 0. */

SECTIONS
{
    .mpu_ram 0x20000000 :
    {
        KEEP(*(.mpu_ram.sine))
        KEEP(*(.mpu_ram.cosine))
        KEEP(*(.mpu_ram.triangle))
        KEEP(*(.mpu_ram.square))
        KEEP(*(.mpu_ram.sawtooth))
        KEEP(*(.mpu_ram.noise))
        KEEP(*(.mpu_ram.damped))
        KEEP(*(.mpu_ram.slow_counter))
        KEEP(*(.mpu_ram.sample_counter))
        KEEP(*(.mpu_ram.constants))
    }

    /* Toolchain notes and unwind tables describe code; there is none. */
    /DISCARD/ : { *(.note.*) *(.eh_frame*) *(.comment) }
}

/* A padding byte or a reordered variable would move every address after it. */
ASSERT(sample_counter == 0x20000010, "sample_counter is not at 0x20000010")
ASSERT(constants == 0x20000012, "constants is not at 0x20000012")
ASSERT(SIZEOF(.mpu_ram) == 0x1E, "the MPU's RAM is not 0x1E bytes")

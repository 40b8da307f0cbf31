// SPDX-License-Identifier: MIT
// The kernel for the target's baseline instruction set; every architecture has it.
#define KZ_KERNEL_ENTRY kPortable
#include "core/engine_kernel.inc"

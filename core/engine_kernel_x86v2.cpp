// SPDX-License-Identifier: MIT
// The kernel for x86 processors with POPCNT and SSE4.2 (built with those enabled).
#include "core/engine_kernel.h"

#if defined(KZ_ENGINE_X86_KERNELS)
#define KZ_KERNEL_ENTRY kX86V2
#include "core/engine_kernel.inc"
#endif

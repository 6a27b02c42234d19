#pragma once

#include "core/FileDescriptor.h"

// Sorted by anything but name, the items of a list lie scattered in memory:
// asking for the next ones early hides the wait for them behind the work on
// this one. A macro rather than a helper: GCC takes a function that only
// prefetches for one without effects, and drops its calls.
#if defined(__GNUC__)
#define QLN_PREFETCH_AHEAD(list, i)                                                                        \
    do {                                                                                                   \
        constexpr size_t kAhead = 8;                                                                       \
        if ((i) + kAhead < (list).size()) {                                                                \
            /* Every cache line the descriptor spans, wherever it starts in one. */                        \
            const char* item = reinterpret_cast<const char*>((list)[(i) + kAhead].get());                  \
            for (size_t offset = 0; offset < sizeof(CFileDescriptor); offset += 64)                        \
                __builtin_prefetch(item + offset);                                                         \
            __builtin_prefetch(item + sizeof(CFileDescriptor) - 1);                                        \
        }                                                                                                  \
    } while (false)
#else
#define QLN_PREFETCH_AHEAD(list, i) \
    do {                            \
    } while (false)
#endif

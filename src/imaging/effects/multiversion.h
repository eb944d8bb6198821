#pragma once

// Hot loops get one clone per instruction set, chosen when the program is loaded. The thread
// checker cannot run the choosers (they run before it has started), so its builds keep the
// portable version only.
#if defined(__SANITIZE_THREAD__)
#define TARN_NO_CLONES 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TARN_NO_CLONES 1
#endif
#endif

#if defined(TARN_NO_CLONES)
#define TARN_CLONES(...)
#else
#define TARN_CLONES(...) __attribute__((target_clones(__VA_ARGS__)))
#endif

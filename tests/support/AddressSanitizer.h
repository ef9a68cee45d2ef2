#pragma once

// ORLENTA_TEST_ADDRESS_SANITIZER is defined in the sanitizer build, whichever compiler made it:
// tests that depend on how memory is mapped or allocated behave differently there.

#if defined(__SANITIZE_ADDRESS__)
#define ORLENTA_TEST_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORLENTA_TEST_ADDRESS_SANITIZER 1
#endif
#endif

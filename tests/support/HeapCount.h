// tests/support/HeapCount.h - what the program holds on the heap, counted by its own
// operator new and delete: every C++ allocation of the program, and on Linux of the
// modules it loads (they resolve those operators to the program's).
//
// Only a program that links HeapCount.cpp counts (it replaces the operators for the whole
// program); the figures are the bytes asked for, not resident pages, so they do not depend
// on when the C library hands memory back to the system.
#pragma once

#include <cstddef>

namespace testing_support {

// Bytes allocated and not yet freed.
size_t HeapInUse();
// The most HeapInUse has been since the last ResetHeapPeak.
size_t HeapPeak();
// Starts a new peak from what is in use now.
void ResetHeapPeak();

} // namespace testing_support

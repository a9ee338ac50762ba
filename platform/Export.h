// platform/Export.h - the one macro that marks a function as exported from a module.
//
// Exports have C linkage and no decoration. On 64-bit Windows there is a single calling
// convention, so no __stdcall/__cdecl keyword is needed for the interface to match.
#pragma once

#ifdef _WIN32
#define MORVEK_EXPORT extern "C" __declspec(dllexport)
#else
#define MORVEK_EXPORT extern "C" __attribute__((visibility("default")))
#endif

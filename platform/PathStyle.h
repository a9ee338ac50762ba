// platform/PathStyle.h - the file-name conventions of the platform we run on.
//
// The platform layer is the only code that calls the operating system. This header holds
// no calls, only the facts that decide how paths are spelled and compared here: the
// canonical separator and whether file names fold letter case. Lexical path code takes
// a PathStyle so that both sets of rules can be tested on one machine.
#pragma once

namespace platform {

enum class PathStyle {
    Windows, // separator '\', drive roots "C:\", file names compare without letter case
    Posix    // separator '/', the root "/" plays the drive root, names compare exactly
};

#ifdef _WIN32
constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

constexpr char SeparatorOf(PathStyle style) {
    return style == PathStyle::Windows ? '\\' : '/';
}
constexpr bool FoldsCaseOf(PathStyle style) {
    return style == PathStyle::Windows;
}

constexpr char kPathSeparator = SeparatorOf(kNativePathStyle);
// True where two file names that differ only in ASCII letter case name one file.
constexpr bool kFileNamesFoldCase = FoldsCaseOf(kNativePathStyle);

} // namespace platform

// platform/Types.h - handle types shared by every floor.
#pragma once

namespace platform {

// A window of the host environment or of the provider: HWND on Windows, an opaque token
// (usually null) elsewhere. Only the dialog hosts ever look behind it.
using WindowHandle = void*;

} // namespace platform

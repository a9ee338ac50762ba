// platform/common/SystemClock.h - what each platform provides under platform/Clock.h.
#pragma once

#include "platform/Clock.h"

namespace platform::detail {

LocalTime SystemLocalTime();

} // namespace platform::detail

// scc/TraceFile.h - where the trace file lies and how it is named.
//
// The module host makes the file's folder and fixes its path when the library starts;
// scchost, which reaches the provider only through its exports, finds the file by the same
// rules to keep a copy. Header only, so that scchost needs none of the provider's code.
#pragma once

#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/PathStyle.h"

#include <cstdio>
#include <string>

// The start-up time as the file name shows it: "%y%m%dT%H%M%S", e.g. "220826T123538".
inline std::string TraceStamp(const platform::LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%02dT%02d%02d%02d", t.year % 100, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

inline std::string TraceFileName(const std::string& stamp) {
    return "Trace" + stamp + ".log";
}

// The folder "Morvek" in the per-user application-data folder (made when create is true;
// the Morvek folder itself is never made here). Empty when there is no such folder.
inline std::string TraceFolder(bool create) {
    const std::string appData = platform::GetAppDataFolder(create);
    return appData.empty() ? std::string() : appData + platform::kPathSeparator + "Morvek";
}

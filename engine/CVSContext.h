// engine/CVSContext.h - the provider context handed to the host environment.
//
// The engine runs CVS: argument vectors, the binding of the CVS client library, the context
// that runs one command with its global options, environment and output capture, and the
// progress display with the route of all text to the environment.
//
// The environment gets a context from SccInitialize and passes it back on every call. It
// holds what the current project is and the windows that show progress.
#pragma once

#include "platform/Types.h"

class CCVSContext {
public:
    explicit CCVSContext(platform::WindowHandle window = nullptr) : parentWindow_(window) {}
    virtual ~CCVSContext() = default;

    CCVSContext(const CCVSContext&) = delete;
    CCVSContext& operator=(const CCVSContext&) = delete;

    // The environment's window for the current call: owner of message boxes.
    void SetWindow(platform::WindowHandle window) { parentWindow_ = window; }
    platform::WindowHandle GetWindow() const { return parentWindow_; }

private:
    platform::WindowHandle parentWindow_ = nullptr;
};

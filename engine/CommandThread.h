// engine/CommandThread.h - the client library's command runs off the thread that asked for
// it, which goes on serving its windows.
//
// dllglue_main returns only when the command has ended, and a command may wait for ever on
// a server that never answers. The thread that asks for it owns windows (the progress window
// with its Cancel, and the environment's own when it is the environment's thread): were it
// blocked there, nothing would repaint and no click on Cancel could reach the library's
// abort. So the call runs on a thread of its own, and the asking thread waits serving its
// queue and its window messages (ui/framework/OwnerThread.h). Whatever the library calls
// back with (console text, environment lookups, password and question requests) is carried
// back to the asking thread and runs there, one at a time, while the library waits: for the
// context it is as if it had made the call itself.
#pragma once

#include <functional>

namespace commandthread {

// Runs body on a thread of its own and waits for it, serving the calling thread's queue and
// windows meanwhile; body's result.
int Run(const std::function<int()>& body);
// From inside a body: runs the action on the thread that called Run and waits for it.
// Anywhere else it runs at once.
void Back(const std::function<void()>& action);

} // namespace commandthread

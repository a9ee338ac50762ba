// scc/CommandOptions.h - which command options map a file command works with.
//
// SccGetCommandOptions hands the host the options map of its context (the map the
// advanced-options dialogs fill) and remembers two facts for the whole process: that advanced
// options have been offered at least once, and the map it handed out last. The host may give
// such a pointer back as the options argument of a file command.
//
// A pointer the host gives back is used only when it is a map this provider handed out and
// whose context still lives; anything else (a stale pointer of a context the host has
// uninitialised, or a pointer of the host's own) counts as none. The module host empties both
// facts when the library loads.
#pragma once

#include "engine/CVSContext.h"
#include "scc/SccApi.h"

// Called by SccGetCommandOptions when it hands out a context's map.
void RememberOfferedOptions(CCVSStringMap* options);
// Called when a context goes: its map is no longer handed out or remembered.
void ForgetOfferedOptions(const CCVSStringMap* options);
// Load time: nothing offered, nothing remembered.
void ResetOfferedOptions();

bool AdvancedOptionsOffered();
// The map handed out last, or null.
CCVSStringMap* RememberedOptions();

// The get: the argument when advanced options have been offered and it is given; otherwise
// the context's own map.
CCVSStringMap& OptionsForGet(CCVSContext& context, SccCmdOptions argument);
// Check-out, check-in and add: the argument, else the remembered map; the context's own map
// when advanced options were never offered or neither is there.
CCVSStringMap& OptionsForCommand(CCVSContext& context, SccCmdOptions argument);

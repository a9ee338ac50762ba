// host/ModuleHost.cpp - the provider module: start-up and shutdown of the library.
//
// The module host is the top floor: it creates the process-wide values when the library is
// loaded and releases them when it is unloaded. Nothing includes it.

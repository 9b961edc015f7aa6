#pragma once
// The program's start-up, creation handler and exit routine.
#include <cstdint>

// The entry routine: prepares the module state, shows MainWindow and runs the message loop until
// the window is closed; 0 then.
int RunProgram();

// ((major & 0xFF) << 8) | (minor & 0xFF) of the running Windows, read from the process environment
// block; 0 when it cannot be read.
std::int32_t ReadOsVersionWord();

// Created event of MainWindow: writes the tool executables into the run directory, hidden.
void OnMainWindowCreated();

// Exit routine: frees the module state. Nothing is deleted from disk.
void ReleaseModuleState();

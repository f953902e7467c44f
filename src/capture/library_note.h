// src/capture/library_note.h
// When the shared-message library is there but cannot be loaded, the monitor says so in the
// view, once, with the system's reason and what to do, and goes on without forwarding.
// Once: a failure is told when it differs from the last one told (another error number, or
// a file of another kind); while the library stays broken the same way nothing more is
// said. A missing library stays silent and forgets the failure told, so one put back
// broken is told again. A library that loads is kept for the rest of the run: nothing more
// is told after that.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

inline constexpr uint16_t kMachineI386 = 0x014C;
inline constexpr uint16_t kMachineAmd64 = 0x8664;
#if defined(__aarch64__) || defined(_M_ARM64)
inline constexpr uint16_t kOwnMachine = 0xAA64;
#elif defined(__x86_64__) || defined(_M_X64)
inline constexpr uint16_t kOwnMachine = kMachineAmd64;
#else
inline constexpr uint16_t kOwnMachine = kMachineI386;
#endif

// Enough of the file to read its headers' start (where a library says what it is built for).
inline constexpr size_t kLibraryHeadBytes = 4096;

// The note (one line, ending in a line feed) for a library that failed to load with error:
// the system's text for it, and advice from what the file holds and the machine this
// monitor is built for.
std::string LibraryLoadNote(uint32_t error, const FileHead& head, uint16_t ownMachine, const std::string& systemText);

// After a failed load (monitor thread): the note, unless the file is missing or this is
// the failure told last.
void TellLibraryLoadFailure(uint32_t error);

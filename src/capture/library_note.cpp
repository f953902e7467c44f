// src/capture/library_note.cpp
#include "capture/library_note.h"

#include <cstdio>
#include <cstring>

#include "capture/state.h"
#include "logview/log_view.h"
#include "texts.h"

namespace {
constexpr uint32_t kErrorModuleNotFound = 126;  // the library, or one it needs
constexpr uint32_t kErrorProcNotFound = 127;    // one it needs lacks a function

enum class LibraryFault { Empty, NotAnImage, Is32Bit, Is64Bit, OtherMachine, NeedsMore, Unknown };

uint32_t LittleEndian(const std::string& b, size_t at, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = bytes; i-- > 0;)
        v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The machine a Windows image says it is built for; 0 when the bytes are no such image.
uint16_t MachineOf(const std::string& b) {
    if (b.size() < 0x40 || b.compare(0, 2, "MZ") != 0) return 0;
    const size_t pe = LittleEndian(b, 0x3C, 4);
    if (pe > b.size() || b.size() - pe < 6 || b.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return 0;
    return static_cast<uint16_t>(LittleEndian(b, pe + 4, 2));
}

LibraryFault FaultOf(uint32_t error, const FileHead& head, uint16_t ownMachine) {
    if (head.size == 0) return LibraryFault::Empty;
    if (head.bytes.empty()) return LibraryFault::Unknown;  // there, but not readable
    const uint16_t machine = MachineOf(head.bytes);
    if (machine == 0) return LibraryFault::NotAnImage;
    if (machine == kMachineI386 && ownMachine == kMachineAmd64) return LibraryFault::Is32Bit;
    if (machine == kMachineAmd64 && ownMachine == kMachineI386) return LibraryFault::Is64Bit;
    if (machine != ownMachine) return LibraryFault::OtherMachine;
    if (error == kErrorModuleNotFound || error == kErrorProcNotFound) return LibraryFault::NeedsMore;
    return LibraryFault::Unknown;
}

const char* AdviceFor(LibraryFault fault) {
    switch (fault) {
        case LibraryFault::Empty:
            return kLibraryEmpty;
        case LibraryFault::NotAnImage:
            return kLibraryNotAnImage;
        case LibraryFault::Is32Bit:
            return kLibraryIs32Bit;
        case LibraryFault::Is64Bit:
            return kLibraryIs64Bit;
        case LibraryFault::OtherMachine:
            return kLibraryOtherMachine;
        case LibraryFault::NeedsMore:
            return kLibraryNeedsMore;
        default:
            return kLibraryReinstall;
    }
}

// The system's text on one line: its own line ends become spaces, trailing ones go, and the
// file it speaks of (%1) is named.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    for (size_t at; (at = text.find("%1")) != std::string::npos;)
        text.replace(at, 2, kSharedLibraryPath);
    return text;
}

}  // namespace

std::string LibraryLoadNote(uint32_t error, const FileHead& head, uint16_t ownMachine, const std::string& systemText) {
    const std::string reason = OneLine(systemText);
    const char* advice = AdviceFor(FaultOf(error, head, ownMachine));
    std::string note(sizeof kLibraryNoteFormat + reason.size() + std::strlen(advice) + 16, '\0');
    const int n = std::snprintf(note.data(), note.size(), kLibraryNoteFormat, reason.c_str(),
                                static_cast<unsigned>(error), advice);
    note.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return note;
}

void TellLibraryLoadFailure(uint32_t error) {
    ForwardState& f = Capture().forward;
    // On the monitor thread, for every message while the library fails: only a look first.
    const FileHead seen = ReadFileHead(kSharedLibraryPath, 0);
    if (!seen.exists) {
        f.failureTold = false;
        return;
    }
    if (f.failureTold && f.toldError == error && f.seenSize == seen.size && f.seenWritten == seen.written) return;
    f.seenSize = seen.size, f.seenWritten = seen.written;
    const FileHead head = ReadFileHead(kSharedLibraryPath, kLibraryHeadBytes);
    const int fault = static_cast<int>(FaultOf(error, head, kOwnMachine));
    if (f.failureTold && f.toldError == error && f.toldFault == fault) return;
    f.failureTold = true;
    f.toldError = error;
    f.toldFault = fault;
    const std::string note = LibraryLoadNote(error, head, kOwnMachine, SystemErrorText(error));
    RunOnUi([&] { WriteNote(note.c_str()); });
}

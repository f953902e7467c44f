// src/capture/receive.cpp
#include "capture/receive.h"

#include <algorithm>
#include <cstring>

#include "capture/pipeline.h"
#include "capture/state.h"
#include "platform/platform.h"
#include "texts.h"

bool IsHostProcess(uint32_t processId) {
    // While the editor has no main window, nothing counts as the editor's.
    if (!HostWindowExists()) return false;
    char name[260] = {};
    // A writer that cannot be opened or named is not the host.
    if (!ProcessImageName(processId, kProcessQueryLimitedInformation, name, sizeof name)) return false;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return std::strstr(name, kHostImageName) != nullptr;
}

void ReceiveMessage(uint32_t processId, const char* text) {
    MonitorState& m = Monitor();
    if (processId != m.lastProcessId) {
        m.lastProcessId = processId;
        m.headerNeeded = 1;
    }
    ProcessMessage({processId, text, IsHostProcess(processId)});
    // On the raw text, whatever the pipeline made of it and whoever wrote it.
    const size_t length = std::strlen(text);
    m.headerNeeded = length > 0 && text[length - 1] == '\n';
}

size_t ChannelTextCapacity(const void* view) {
    const size_t readableBytes = ReadableBytesAt(view);
    return readableBytes > 4 ? std::min(readableBytes - 4, kChannelTextSize) : 0;
}

// src/capture/receive.h
// What the monitor thread does with each message it takes from the channel, around the
// pipeline: the writer's identity, the host test and the header bookkeeping.
#pragma once
#include <cstddef>
#include <cstdint>

// Section layout: the writer's process id, then its text (NUL-terminated if it fits).
inline constexpr size_t kChannelSize = 4096;
inline constexpr size_t kChannelTextSize = kChannelSize - 4;

// True when the writer is the host editor: its window exists and the process's image
// name holds "kumogata.exe" in any letter case. Reading the name needs only the limited
// query right, so an editor running elevated or in another session still counts.
bool IsHostProcess(uint32_t processId);

// One message as the channel hands it over: notes a change of writer, asks the host
// test, runs the pipeline, and decides from the raw text whether a header line is due.
void ReceiveMessage(uint32_t processId, const char* text);

// Text bytes the monitor may read from its view of the section: what is committed and
// readable from the view's start, less the process id, at most kChannelTextSize. 0 when
// the view cannot hold even the process id and one byte: another program made the
// section first and never committed it, and reading it would fault.
size_t ChannelTextCapacity(const void* view);

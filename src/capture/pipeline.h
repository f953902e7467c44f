// src/capture/pipeline.h
// The road of one received message: restart marker, line assembly, rewriting, encoding,
// the display gate, the header line, flood control, output and forwarding.
#pragma once
#include <cstddef>

#include "capture/state.h"

// A writer that never ends its line cannot make the pending text grow past this: the
// fragment that would take it further completes the line, so nothing received is lost.
inline constexpr size_t kPendingTextLimit = 64 * 1024;

void ProcessMessage(CapturedMessage message);

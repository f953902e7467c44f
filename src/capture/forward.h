// src/capture/forward.h
// Hands shown messages and repeat notices to the optional shared-message library.
#pragma once
#include "capture/flood.h"

// The export: one NUL-terminated text, C calling convention.
using SetSharedMessageFn = void (*)(const char*);

// For the outcomes show and repeat notice, after the error cut-off.
void ForwardMessage(Outcome outcome);

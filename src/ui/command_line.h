// src/ui/command_line.h
// The command line along the bottom of the window: Enter hands its text to the editor's
// command sender, Up and Down recall earlier commands, Escape empties it.
#pragma once
#include <windows.h>

#include <richedit.h>

// Creates, shows or hides the command line as the command sender is there or not; a
// change re-lays out the window.
void UpdateCommandLine(HWND window);
// It is there and shown (the editor's command sender is installed): the layout gives it a row.
bool CommandLineShown();

// EN_MSGFILTER from the command line; non-zero swallows the key.
LRESULT OnCommandLineKey(HWND window, const MSGFILTER& filter);

// The timer that hands waiting commands off while a sender runs.
void OnCommandTimer(HWND window);

void DestroyCommandLine(HWND window);

// src/ui/rich_text.h
// A rich edit's whole text, however long, as the control streams it out in the system
// code page: never read into a fixed buffer, which some rich edits overrun or leave
// unterminated when the text holds more bytes than characters.
#pragma once
#include <windows.h>

#include <string>

std::string RichEditText(HWND control);

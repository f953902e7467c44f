// src/ui/reading_menu.h
// The log view's menu entries for reading: "検索..." and the checked "自動スクロール".
#pragma once
#include <windows.h>

void AppendReadingItems(HMENU menu);

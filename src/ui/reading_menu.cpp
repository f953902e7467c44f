// src/ui/reading_menu.cpp
#include "ui/reading_menu.h"

#include "logview/auto_scroll.h"
#include "texts.h"
#include "ui/ui_state.h"

void AppendReadingItems(HMENU menu) {
    AppendMenuA(menu, MF_STRING, kCommandFind, kMenuFind);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (AutoScroll() ? MF_CHECKED : MF_UNCHECKED), kCommandAutoScroll, kMenuAutoScroll);
}

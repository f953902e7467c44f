// src/ui/log_menu.cpp
#include "ui/log_menu.h"

#include <richedit.h>
#include <windowsx.h>

#include <algorithm>

#include "logview/auto_scroll.h"
#include "logview/log_view.h"
#include "logview/view_options.h"
#include "texts.h"
#include "ui/ui_state.h"

namespace {
HWND View() {
    return static_cast<HWND>(LogView());
}

// From the keyboard (the menu key, Shift+F10) the menu opens where the user is working:
// at the selection's start, or the caret, kept inside the view when that is scrolled away.
POINT KeyboardMenuPoint(const CHARRANGE& selection) {
    POINTL at{};
    SendMessageA(View(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), selection.cpMin);
    RECT client{};
    GetClientRect(View(), &client);
    POINT p{std::clamp(at.x, client.left, std::max(client.left, client.right - 1)),
            std::clamp(at.y, client.top, std::max(client.top, client.bottom - 1))};
    ClientToScreen(View(), &p);
    return p;
}
}  // namespace

void ShowLogViewMenu(HWND window, LPARAM at) {
    CHARRANGE selection{};
    SendMessageA(View(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT p{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (p.x == -1 && p.y == -1) p = KeyboardMenuPoint(selection);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING | (selection.cpMin == selection.cpMax ? MF_GRAYED : 0), kCommandCopy, kMenuCopy);
    AppendMenuA(menu, MF_STRING, kCommandSelectAll, kMenuSelectAll);
    AppendMenuA(menu, MF_STRING, kCommandSaveAs, kMenuSaveAs);
    AppendMenuA(menu, MF_STRING, kCommandFind, kMenuFind);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (AutoScroll() ? MF_CHECKED : MF_UNCHECKED), kCommandAutoScroll, kMenuAutoScroll);
    const ViewOptions& options = CurrentViewOptions();
    AppendMenuA(menu, MF_STRING | (options.showTime ? MF_CHECKED : MF_UNCHECKED), kCommandShowTime, kMenuShowTime);
    AppendMenuA(menu, MF_STRING, kCommandInsertMarker, kMenuInsertMarker);
    AppendMenuA(menu, MF_STRING | (options.colours ? MF_CHECKED : MF_UNCHECKED), kCommandColours, kMenuColours);
    AppendMenuA(menu, MF_STRING | (options.wrap ? MF_CHECKED : MF_UNCHECKED), kCommandWrap, kMenuWrap);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kClearButtonId, kCaptionClear);
    // The chosen entry arrives as WM_COMMAND, like a button's click.
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void CopyLogViewSelection() {
    SendMessageA(View(), WM_COPY, 0, 0);
}

void SelectAllOfLogView() {
    SendMessageA(View(), EM_SETSEL, 0, -1);
}

bool HandleLogViewShortcut(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != 'A' || msg.hwnd != View() || GetKeyState(VK_CONTROL) >= 0) {
        return false;
    }
    SelectAllOfLogView();
    return true;
}

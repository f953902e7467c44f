// src/ui/find.cpp
// The search runs on the view's text as the control streams it out (its own Shift_JIS
// bytes, its own line ends). Byte offsets and the control's positions meet by counting
// characters (find_text.h), never lines, which wrapping changes.
#include "ui/find.h"

#include <commdlg.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "logview/auto_scroll.h"
#include "logview/find_text.h"
#include "logview/log_view.h"
#include "texts.h"
#include "ui/rich_text.h"

namespace {
HWND gDialog = nullptr;
char gWhat[512] = {};  // the dialog's text, kept for F3 after it is closed
FINDREPLACEA gRequest{};
FindQuery gQuery;

HWND View() {
    return static_cast<HWND>(LogView());
}

void FindInView(HWND window, bool down) {
    HWND view = View();
    if (!view) return;
    const std::string text = RichEditText(view);
    CHARRANGE selection{};
    SendMessageA(view, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    FindQuery query = gQuery;
    query.down = down;
    size_t from = OffsetOfPosition(text, static_cast<size_t>(down ? selection.cpMax : selection.cpMin));
    // Nothing selected at the very end is where every arrival leaves the caret while
    // auto-scroll is on: a search down then starts at the top of what the view shows.
    if (down && selection.cpMin == selection.cpMax && from >= text.size()) {
        const LRESULT top = SendMessageA(view, EM_GETFIRSTVISIBLELINE, 0, 0);
        from = OffsetOfPosition(text, static_cast<size_t>(SendMessageA(view, EM_LINEINDEX, top, 0)));
    }
    const size_t at = FindInText(text, query, from);
    if (at == kNoMatch) {
        std::string message(sizeof kNotFoundFormat + query.what.size(), '\0');
        std::snprintf(message.data(), message.size(), kNotFoundFormat, query.what.c_str());
        // Owned by the dialog while it is open: modal to it, so that it cannot ask again
        // (and stack boxes) before this one is answered.
        MessageBoxA(gDialog && IsWindow(gDialog) ? gDialog : window, message.c_str(), kWindowTitle,
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    SetAutoScroll(false);  // else the next arrival takes the view away from the match
    // Shown also while the dialog has the focus.
    SendMessageA(view, EM_SETOPTIONS, ECOOP_OR, ECO_NOHIDESEL);
    CHARRANGE match{static_cast<LONG>(PositionOfOffset(text, at)),
                    static_cast<LONG>(PositionOfOffset(text, at + query.what.size()))};
    SendMessageA(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&match));
    SendMessageA(view, EM_SCROLLCARET, 0, 0);
}

bool InWindowOrDialog(HWND window, HWND target) {
    return target == window || IsChild(window, target) || (gDialog && (target == gDialog || IsChild(gDialog, target)));
}
}  // namespace

void OpenFindDialog(HWND window) {
    if (gDialog) {
        SetActiveWindow(gDialog);
        return;
    }
    gRequest = FINDREPLACEA{};
    gRequest.lStructSize = sizeof gRequest;
    gRequest.hwndOwner = window;
    gRequest.Flags = FR_HIDEWHOLEWORD | (gQuery.down ? FR_DOWN : 0) | (gQuery.matchCase ? FR_MATCHCASE : 0);
    gRequest.lpstrFindWhat = gWhat;
    gRequest.wFindWhatLen = sizeof gWhat;
    gDialog = FindTextA(&gRequest);
}

bool HandleFindMessage(HWND window, MSG& msg) {
    if (gDialog && !IsWindow(gDialog)) gDialog = nullptr;  // gone with its owner
    if (msg.message == WM_KEYDOWN && InWindowOrDialog(window, msg.hwnd) && GetKeyState(VK_MENU) >= 0) {
        const bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
        if (msg.wParam == 'F' && control && !shift) {
            OpenFindDialog(window);
            return true;
        }
        if (msg.wParam == VK_F3 && !control) {
            // With nothing looked for yet there is nothing to find again: ask for it.
            if (gQuery.what.empty()) {
                OpenFindDialog(window);
            } else {
                FindInView(window, !shift);
            }
            return true;
        }
    }
    return gDialog && IsDialogMessageA(gDialog, &msg);
}

bool OnFindDialogMessage(HWND window, UINT message, LPARAM lParam) {
    static const UINT findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    if (message != findMessage || !findMessage) return false;
    const auto* request = reinterpret_cast<const FINDREPLACEA*>(lParam);
    if (request->Flags & FR_DIALOGTERM) {
        gDialog = nullptr;
    } else if ((request->Flags & FR_FINDNEXT) && request->lpstrFindWhat[0]) {  // an empty text finds nothing
        gQuery.what.assign(request->lpstrFindWhat, strnlen(request->lpstrFindWhat, request->wFindWhatLen));
        gQuery.matchCase = (request->Flags & FR_MATCHCASE) != 0;
        gQuery.down = (request->Flags & FR_DOWN) != 0;
        FindInView(window, gQuery.down);
    }
    return true;
}

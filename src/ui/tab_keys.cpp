#include "ui/tab_keys.h"

#include <array>

#include "capture/state.h"
#include "logview/log_view.h"
#include "ui/ui_state.h"

namespace {
// In the order Tab visits them. One that cannot take the focus (the command line while it
// is hidden or was never made) is passed over.
std::array<HWND, 5> TabOrder() {
    const UiState& ui = Ui();
    return {ui.filterBox, static_cast<HWND>(Monitor().stopButton.load()), ui.clearButton, static_cast<HWND>(LogView()),
            ui.commandLine};
}

bool CanTakeFocus(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool IsButton(HWND control) {
    const UiState& ui = Ui();
    return control && (control == static_cast<HWND>(Monitor().stopButton.load()) || control == ui.clearButton);
}

void MoveFocus(HWND window, HWND from, bool back) {
    const std::array<HWND, 5> order = TabOrder();
    const int count = static_cast<int>(order.size());
    // From a control outside the order (the window itself), Tab starts at the first.
    int at = back ? 0 : count - 1;
    for (int i = 0; i < count; ++i) {
        if (order[i] == from) at = i;
    }
    for (int step = 1; step <= count; ++step) {
        HWND next = order[(at + (back ? count - step : step)) % count];
        if (!CanTakeFocus(next)) continue;
        // The focus shown from now on, as a dialog shows it once the keyboard is used: a
        // button draws its focus rectangle only while the window's UI state lets it.
        SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        SetFocus(next);
        // A one-line box comes in with its text selected, as an edit in a dialog does.
        if (next == Ui().filterBox || next == Ui().commandLine) SendMessageA(next, EM_SETSEL, 0, -1);
        return;
    }
}
}  // namespace

bool HandleTabKey(HWND window, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != window && !IsChild(window, msg.hwnd))) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    switch (msg.wParam) {
        case VK_TAB:
            // Never typed: the log view and the command line would take it as text.
            MoveFocus(window, msg.hwnd, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN: {
            if (!IsButton(msg.hwnd)) return false;
            const bool repeated = (msg.lParam & (1 << 30)) != 0;  // held down: pressed once
            if (!repeated) {
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(msg.hwnd), BN_CLICKED),
                             reinterpret_cast<LPARAM>(msg.hwnd));
            }
            return true;
        }
        case VK_ESCAPE:
            // The command line's own: it empties the line there (command_line.h).
            return msg.hwnd != Ui().commandLine;
        default:
            return false;
    }
}

// src/ui/command_line.cpp
#include "ui/command_line.h"

#include <string>

#include "platform/platform.h"
#include "texts.h"
#include "ui/command_handoff.h"
#include "ui/control_names.h"
#include "ui/controls.h"
#include "ui/rich_text.h"
#include "ui/ui_state.h"

namespace {
constexpr UINT_PTR kCommandTimer = 1;
constexpr UINT kCommandTimerMs = 50;

HWND CreateCommandLine(HWND parent) {
    UiState& ui = Ui();
    ui.commandLineRichEdit = LoadRichEditLibrary();
    // Unlike the filter box it scrolls sideways: a command may be far longer than the line.
    // Placed by the paint that its coming asks for, which gives the log view less room too.
    HWND line = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", kOneLineRichEditStyle | ES_AUTOHSCROLL, 0, 0, 0, 0,
                                parent, reinterpret_cast<HMENU>(kCommandLineId), ui.instance, nullptr);
    ui.commandLine = line;
    NameControl(line, NamedControl::CommandLine);
    // Key events reach the window as EN_MSGFILTER; what the user sees is what is sent.
    const LRESULT mask = SendMessageA(line, EM_GETEVENTMASK, 0, 0);
    SendMessageA(line, EM_SETEVENTMASK, 0, mask | ENM_KEYEVENTS);
    // In characters, not bytes: Japanese text can still pass 4095 bytes, and is refused on Enter.
    SendMessageA(line, EM_EXLIMITTEXT, 0, kCommandTextSize - 1);
    SetOneLineLook(line, ui.commandLineScale);
    return line;
}

void ShowText(HWND line, const std::string& text) {
    SetWindowTextA(line, text.c_str());
    SendMessageA(line, EM_SETSEL, text.size(), text.size());
}

void Report(HWND window, const CommandOutcome& outcome) {
    if (outcome.kind != CommandOutcome::Failed) return;
    UiState& ui = Ui();
    // What was not handed off goes back to the line, unless the user is typing anew.
    if (ui.commandLine && GetWindowTextLengthA(ui.commandLine) == 0) ShowText(ui.commandLine, outcome.command);
    ui.reportingCommandFailure = true;
    ShowError(window, outcome.message.c_str());
    ui.reportingCommandFailure = false;
}

void KeepTimerWhileBusy(HWND window) {
    if (CommandHandOffBusy()) {
        SetTimer(window, kCommandTimer, kCommandTimerMs, nullptr);
    } else {
        KillTimer(window, kCommandTimer);
    }
}

void Submit(HWND window) {
    HWND line = Ui().commandLine;
    // All of it, whatever its length: a text longer than can be sent is refused whole,
    // never sent cut (the line's limit counts characters, and a paste may pass it).
    std::string text = RichEditText(line);
    // A one-line control holds no line end; one that a rich edit adds when streaming out
    // is not part of the command.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    const CommandOutcome outcome = SubmitCommand(text);
    if (outcome.kind == CommandOutcome::Accepted) SetWindowTextA(line, "");
    KeepTimerWhileBusy(window);
    Report(window, outcome);
}
}  // namespace

bool CommandLineShown() {
    return Ui().commandLine && IsWindowVisible(Ui().commandLine);
}

void UpdateCommandLine(HWND window) {
    const bool wanted = CommandSenderExists();
    if (wanted && !Ui().commandLine) {
        CreateCommandLine(window);
    } else if (Ui().commandLine && wanted != CommandLineShown()) {
        ShowWindow(Ui().commandLine, wanted ? SW_SHOW : SW_HIDE);
    } else {
        return;
    }
    InvalidateRect(window, nullptr, TRUE);  // the paint lays the window out anew
}

LRESULT OnCommandLineKey(HWND window, const MSGFILTER& filter) {
    HWND line = Ui().commandLine;
    if (filter.msg == WM_KEYDOWN) {
        switch (filter.wParam) {
            case VK_RETURN:
                // Only a key that is really down: a posted message alone does not send.
                if (GetKeyState(VK_RETURN) < 0) Submit(window);
                return 1;
            case VK_ESCAPE:
                SetWindowTextA(line, "");
                return 1;
            case VK_UP:
            case VK_DOWN:
                ShowText(line, RecallCommand(filter.wParam == VK_UP));
                return 1;
            default:
                return 0;
        }
    }
    // Their characters would only beep in a one-line control.
    if (filter.msg == WM_CHAR && (filter.wParam == '\r' || filter.wParam == 0x1B)) return 1;
    return 0;
}

void OnCommandTimer(HWND window) {
    if (Ui().reportingCommandFailure) return;  // one box at a time; the queue waits for it
    const CommandOutcome outcome = PollCommandSender();
    KeepTimerWhileBusy(window);
    Report(window, outcome);
}

void DestroyCommandLine(HWND window) {
    UiState& ui = Ui();
    KillTimer(window, kCommandTimer);
    ResetCommandHandOff();
    if (!ui.commandLine) return;
    ClearAccessibleName(ui.commandLine);
    DestroyWindow(ui.commandLine);
    ui.commandLine = nullptr;
    ReleaseRichEditLibrary(ui.commandLineRichEdit);
    ui.commandLineRichEdit = nullptr;
}

#include "ui/contrast.h"

#include "logview/colours.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/ui_state.h"

namespace {
// SPI_GETHIGHCONTRAST's flag, and the system's colours as GetSysColor gives them.
SystemColours SystemColoursNow() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    SystemColours s;
    s.highContrast = SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                     (contrast.dwFlags & HCF_HIGHCONTRASTON);
    s.window = GetSysColor(COLOR_WINDOW);
    s.windowText = GetSysColor(COLOR_WINDOWTEXT);
    s.highlight = GetSysColor(COLOR_HIGHLIGHT);
    return s;
}
}  // namespace

void AdoptSystemColours() {
    UseColours(ChooseColours(SystemColoursNow()));
}

void OnSystemColoursChanged(HWND window) {
    // Any setting's change arrives here: only one that changes the colours costs anything.
    if (!UseColours(ChooseColours(SystemColoursNow()))) return;  // the log view's part, done
    UiState& ui = Ui();
    RecolourOneLine(ui.filterBox);
    if (ui.commandLine) RecolourOneLine(ui.commandLine);
    RedrawWhole(window);
}

LRESULT EraseBackground(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    SetDCBrushColor(dc, CurrentColours().labelBackground);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return 1;
}

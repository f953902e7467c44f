// src/ui/ui_state.cpp
#include "ui/ui_state.h"

UiState& Ui() {
    static UiState state;
    return state;
}

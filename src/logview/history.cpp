// src/logview/history.cpp
#include "logview/history.h"

#include "logview/state.h"

void HistoryAppend(Entry entry) {
    Log().history.push_back(std::move(entry));
}

const std::vector<Entry>& History() {
    return Log().history;
}

bool CutHistoryBack() {
    std::vector<Entry>& h = Log().history;
    if (h.size() <= kHistoryTrimAbove) return false;
    h.erase(h.begin(), h.end() - kHistoryKeep);
    return true;
}

void ClearHistory() {
    Log().history.clear();
}

#include "ui/control_names.h"

#include "texts.h"

namespace {
const char* NameOf(NamedControl which) {
    switch (which) {
        case NamedControl::FilterBox:
            return kFilterBoxName;
        case NamedControl::LogView:
            return kLogViewName;
        case NamedControl::CommandLine:
            break;
    }
    return kCommandLineName;
}
}  // namespace

void NameControl(WindowRef control, NamedControl which) {
    if (control) SetAccessibleName(control, NameOf(which));
}

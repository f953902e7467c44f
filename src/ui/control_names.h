// src/ui/control_names.h
// The names a screen reader announces for the controls without a caption: the filter box
// has the words of its painted label, the log view and the command line names of their
// own. The buttons' captions are their names already. Built natively too.
#pragma once
#include "platform/platform.h"

enum class NamedControl { FilterBox, LogView, CommandLine };

// When the control is made; it goes unnamed where the system will not name it.
void NameControl(WindowRef control, NamedControl which);

// src/ui/resource.h
#pragma once

#define IDI_MONITOR 103
#define IDR_MENU1 101
#define ID_FILE_EXIT 40002
#define ID_EDIT_FONT 40003

// Black-box driving of the real tilerack.exe from a Windows test program.
// Everything here observes the program only through windows, messages,
// files and pixels; each part has a header of its own:
//   test_files.h      scratch folders, the settings and item files, the probe's record
//   desktop.h         waiting with deadlines, windows, message boxes, menus, input
//   panel_driver.h    the docked panel, its menus and hints, the fixture that alone starts the program
//   shorts_file_builder.h  item files built and read by their record layout
//   screen_capture.h  what the screen shows
//   x11_helpers.h     the X server under Wine: drags, its pointer and keys, window places
//   keyboard_driver.h the keyboard scenarios' fixture and what a screen reader reads
//                     (included by the scenarios that use it)
#pragma once

#include "desktop.h"
#include "panel_driver.h"
#include "screen_capture.h"
#include "shorts_file_builder.h"
#include "test_files.h"
#include "x11_helpers.h"

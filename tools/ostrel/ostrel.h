// The output viewer OSTREL.DLL: one function, exported by its plain name (OSTREL.def).
//
// Ausgabe(window, text) shows a report file.  `text` is an OLE byte string (Windows-1252): the
// file's path, for example "C:\Ausgabe.", immediately followed by the rectangle text of the window
// to place the viewer on, four right-aligned fields of four characters (left, top, right, bottom;
// a field is wider when its number needs more room).  The call returns when the viewer is closed;
// the result is 0.
//
// Test mode: when the environment variable OSTREL_LOG names a file, Ausgabe appends the line
// "Ausgabe|<path>|<rectangle text>" (Windows-1252, CR LF) to it and returns at once.  When
// OSTREL_SAVE also names a directory, the shown file is copied there as "ausgabe-N.txt"
// (N = 1, 2, ...: the first number not yet taken).
#pragma once

#include <windows.h>

#ifdef OSTREL_BUILD
#define OSTREL_API
#else
#define OSTREL_API __declspec(dllimport)
#endif

extern "C" OSTREL_API LONG WINAPI Ausgabe(HWND window, char* text);

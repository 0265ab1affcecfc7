#pragma once
// Console layer shared by the calculation programs: exact message output and a
// key wait that never blocks when standard input is not a terminal.
#include <string_view>

#include "run_error.h"

// Writes Windows-1252 text to stdout. On a UTF-8 terminal the text is converted so
// accents show; to a pipe or file the bytes go out unchanged.
void consoleWrite(std::string_view cp1252Text);

// Waits for one key. On a terminal: one raw key press without echo. Otherwise one
// byte is consumed if it is already there; a closed or empty stdin never blocks.
void waitKey();

// Prints the error's text, waits for a key when the error asks for it, and returns
// the exit status to hand back from main().
int reportRunError(const RunError& error);

// Message and status for a table that could not be allocated.
int reportOutOfMemory();

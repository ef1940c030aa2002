// The program's way of failing: a checked result that fails shows the "警告" box naming the
// source file and line of the check, then posts a quit request. The frame loop ends at its
// next message processing; the caller carries on until then.
#pragma once

#include "base/tstring.h"

// 'file' is the source file that holds the check as the box shows it ("Base.cpp",
// "TMedia.cpp"): its base name and extension are printed apart.
void CheckFailed(const char* file, int line);

#define CHECK_FAILED(file, line) CheckFailed(file, line)

// The game's own message box. icon: 4 stop, 5 question, 6 exclamation, else information.
// buttons: 1 OK/Cancel, 2 Yes/No, 3 Yes/No/Cancel, else OK. defaultButton: 1 second,
// 2 third, 3 fourth, else first. Answers: OK 8, Cancel 9, Yes 10, No 11; Abort 3, Retry 4
// and Ignore 5 unchanged.
int ShowMessageBox(TString text, TString caption, int icon, int buttons, int defaultButton);

// Test hook: counts the checked failures seen so far.
int CheckFailureCount();

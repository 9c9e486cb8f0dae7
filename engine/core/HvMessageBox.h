// Every message box of the program goes through here, so that an automated run can turn them into
// log lines on standard error (answered with their default button) instead of blocking on a dialog:
//   MessageBox: caption "CAPTION", text "TEXT", style 0xSTYLE
// one line per box, a line break of the text written as \n.
#pragma once

int HvMessageBox(const char* text, const char* caption, unsigned style);
// Text to read, not a question. A program of the GUI subsystem has no console of its own: the text goes
// to the standard output it was given (a pipe, a file, or under Wine the terminal), else to the console
// of the command prompt that started it, else (started from a shortcut or Explorer) into a message box
// with MB_ICONINFORMATION.
void HvShowText(const char* text, const char* caption);
void HvShowError(const char* text);   // caption: the core's name; MB_OK | MB_ICONEXCLAMATION
void HvSetMessageBoxLogging(bool on);
// Message boxes shown (or logged) so far: lets a caller tell whether a failure below it was reported.
unsigned HvMessageBoxCount();

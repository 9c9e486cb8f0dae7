// Every message box of the program goes through here, so that an automated run can turn them into
// log lines on standard error (answered with their default button) instead of blocking on a dialog.
#pragma once

int HvMessageBox(const char* text, const char* caption, unsigned style);
void HvShowError(const char* text);   // caption: the core's name; MB_OK | MB_ICONEXCLAMATION
void HvSetMessageBoxLogging(bool on);
// Message boxes shown (or logged) so far: lets a caller tell whether a failure below it was reported.
unsigned HvMessageBoxCount();

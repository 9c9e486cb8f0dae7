// The engine's trace log. Tracing is switched off: the engine composes its lines, nothing is written.
#pragma once
#include <string>

void HvTraceOpen(const char* fileName);
void HvTraceWrite(const std::string& line);
void HvTraceClose();

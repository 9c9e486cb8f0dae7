#include "HvTrace.h"
#include <cstdio>

// Stays null: the log is never opened while tracing is off.
static FILE* traceFile = nullptr;

void HvTraceOpen(const char*) {}

void HvTraceWrite(const std::string&) {}

void HvTraceClose() {
  if (traceFile) fclose(traceFile);
  traceFile = nullptr;
}

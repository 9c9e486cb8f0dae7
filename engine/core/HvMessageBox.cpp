#include "HvMessageBox.h"
#include "HvCore.h"
#include <windows.h>
#include <cstdio>
#include <string>

static bool logMessageBoxes = false;
static unsigned messageBoxCount = 0;

void HvSetMessageBoxLogging(bool on) { logMessageBoxes = on; }
unsigned HvMessageBoxCount() { return messageBoxCount; }

// The button a user would get by pressing Enter: the default button of the box's button set.
static int DefaultButton(unsigned style) {
  static const int buttons[][3] = {
    {IDOK},                       // MB_OK
    {IDOK, IDCANCEL},             // MB_OKCANCEL
    {IDABORT, IDRETRY, IDIGNORE}, // MB_ABORTRETRYIGNORE
    {IDYES, IDNO, IDCANCEL},      // MB_YESNOCANCEL
    {IDYES, IDNO},                // MB_YESNO
    {IDRETRY, IDCANCEL},          // MB_RETRYCANCEL
  };
  unsigned set = style & MB_TYPEMASK, index = (style & MB_DEFMASK) >> 8;
  if (set >= sizeof buttons / sizeof buttons[0]) return IDOK;
  int button = index < 3 ? buttons[set][index] : 0;
  return button ? button : buttons[set][0];
}

int HvMessageBox(const char* text, const char* caption, unsigned style) {
  ++messageBoxCount;
  if (!logMessageBoxes) return MessageBoxA(nullptr, text, caption, style);
  std::string line = text;  // one box, one line: its line breaks written as \n
  for (size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at + 2)) line.replace(at, 1, "\\n");
  fprintf(stderr, "MessageBox: caption \"%s\", text \"%s\", style 0x%X\n", caption, line.c_str(), style);
  fflush(stderr);
  return DefaultButton(style);
}

static bool HasStandardOutput() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  return out && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
}

void HvShowText(const char* text, const char* caption) {
  bool console = HasStandardOutput();
  if (!console && AttachConsole(ATTACH_PARENT_PROCESS)) console = freopen("CONOUT$", "w", stdout) != nullptr;
  if (!console) {
    HvMessageBox(text, caption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  fputs(text, stdout);
  fflush(stdout);
}

void HvShowError(const char* text) {
  HvCore* core = HvCore::GetInstance();
  std::string caption = core ? core->GetName() : std::string();
  HvMessageBox(text, caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

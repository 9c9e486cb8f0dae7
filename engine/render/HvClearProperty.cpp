#include "HvClearProperty.h"
#include "HvDevice.h"

bool HvClearProperty::Apply(HvNode*) {
  Device().Clear(flags, color, depth, stencil);  // a failed clear has shown its message; drawing goes on
  return true;
}

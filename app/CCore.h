// The demo's application object.
#pragma once
#include "../engine/core/HvCore.h"

class CCore : public HvCore {
public:
  CCore();
};

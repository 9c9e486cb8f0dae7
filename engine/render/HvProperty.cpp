#include "HvProperty.h"
#include "HvDevice.h"
#include "../core/HvCore.h"

HvDevice& HvProperty::Device() { return *HvCore::GetInstance()->GetDevice(); }

HvRenderRegisters& HvProperty::Registers() { return Device().Registers(); }

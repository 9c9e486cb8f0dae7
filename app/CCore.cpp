#include "CCore.h"

CCore::CCore() : HvCore("Orvanta") {}

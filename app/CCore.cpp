#include "CCore.h"
#include "CConfig.h"

CCore::CCore() : HvCore("Orvanta") {}

HvConfig* CCore::CreateConfig() { return new CConfig; }

#include "HvObject.h"
#include "HvTrace.h"
#include <typeinfo>

long HvRefCount::live = 0;

HvObject::HvObject(const char* objectName) : name(objectName ? objectName : "") {}

void HvObject::Describe() {
  HvTraceWrite("Object name '" + name + "', type '" + typeid(*this).name() + "'");
}

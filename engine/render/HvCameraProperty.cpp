#include "HvCameraProperty.h"
#include "HvDevice.h"

bool HvCameraProperty::Apply(HvNode*) {
  HvRenderRegisters& r = Registers();
  if (camera) {
    camera->Update();
    if (camera.Get() != r.camera.Get()) camera->Activate();
  }
  previous = r.camera;
  r.camera = camera;
  return true;
}

bool HvCameraProperty::Restore(HvNode*) {
  HvRenderRegisters& r = Registers();
  if (previous && previous.Get() != r.camera.Get()) previous->Activate();
  r.camera = previous;
  previous.Reset();
  return true;
}

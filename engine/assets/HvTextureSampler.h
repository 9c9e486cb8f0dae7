// Addressing and filtering of one texture, as Direct3D sampler-state values. A texture may carry one;
// the texturing property writes it to the stage that the texture is bound to.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>
#include <cstdint>

class HvTextureSampler : public HvRefCount {
public:
  // Field order of SetSamplerField and of the writes to the device.
  enum Field : uint32_t { AddressU, AddressV, AddressW, MagFilter, MinFilter, MipFilter, FieldCount };

  void SetSamplerField(uint32_t index, uint32_t value) {
    if (index < FieldCount) values[index] = value;
  }
  uint32_t Get(uint32_t index) const { return values[index]; }

  static D3DSAMPLERSTATETYPE StateOf(uint32_t index) {
    static const D3DSAMPLERSTATETYPE states[FieldCount] = {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_ADDRESSW,
                                                           D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER};
    return states[index];
  }

private:
  uint32_t values[FieldCount] = {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTADDRESS_WRAP,
                                 D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE};
};

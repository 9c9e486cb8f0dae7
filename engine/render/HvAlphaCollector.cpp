#include "HvAlphaCollector.h"
#include "HvAlphaProperty.h"
#include "HvNode.h"
#include "HvZBufferProperty.h"
#include "../core/HvCore.h"

static HvAlphaProperty* AlphaOf(const HvNode* node, uint32_t pass) {
  return static_cast<HvAlphaProperty*>(node->FindProperty(HvPropertyAlpha, pass));
}

HvAlphaCollector::HvAlphaCollector(const char* name) : HvEngineObject(name), depthState(new HvZBufferProperty) {
  depthState->depthWrite = false;
  depthState->depthTest = true;
  depthState->strictLess = 0;
  HvCore::GetInstance()->GetPool(HvPoolAlphaCollector)->Add(this);
}

HvAlphaCollector::~HvAlphaCollector() = default;

void HvAlphaCollector::Add(HvNode* node) {
  const HvAlphaProperty* alpha = AlphaOf(node, node->GetCurrentPass());
  if (alpha && alpha->bucket < BucketCount) buckets[alpha->bucket].push_back(node);
}

bool HvAlphaCollector::Render(uint32_t pass) {
  if (!depthState) return true;  // released
  depthState->Apply(nullptr);  // a failed state write has shown its message; drawing goes on
  for (uint32_t b = 0; b < BucketCount; ++b) {
    for (size_t i = 0; i < buckets[b].size(); ++i) {
      HvNode* node = buckets[b][i].Get();
      HvAlphaProperty* alpha = AlphaOf(node, pass);
      if (!alpha) continue;  // the property was taken off after the node was collected
      alpha->bucket = HvAlphaProperty::NoBucket;  // now it blends instead of diverting
      const bool drawn = node->RenderPass(pass);
      alpha->bucket = b;  // also after a failure, so that the node stays transparent
      if (!drawn) return false;
    }
  }
  depthState->Restore(nullptr);
  return true;
}

void HvAlphaCollector::Clear() {
  for (auto& bucket : buckets) bucket.clear();
}

bool HvAlphaCollector::EndFrame() {
  Clear();
  return true;
}

bool HvAlphaCollector::Release() {
  Clear();
  depthState.Reset();
  SetFlag(HvFlags::Released);
  return true;
}

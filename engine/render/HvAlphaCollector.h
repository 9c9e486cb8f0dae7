// Draws the transparent subtrees of one render pass after its opaque geometry, with depth writes
// off. During the pass's traversal an alpha property with a bucket hands its node here instead of
// letting it draw; Render then draws bucket 0 to 6, each in the order the nodes came. No sorting by
// distance. Registered in the core's alpha collector pool; the core has one per pass.
#pragma once
#include "../core/HvObject.h"
#include <vector>

class HvNode;
class HvZBufferProperty;

class HvAlphaCollector : public HvEngineObject {
public:
  static const uint32_t BucketCount = 7;

  explicit HvAlphaCollector(const char* name);
  ~HvAlphaCollector() override;

  void Add(HvNode* node);          // into the bucket of the node's alpha property for its current pass
  bool Render(uint32_t pass);      // the collected subtrees, bucket by bucket
  bool EndFrame() override;        // empties the buckets
  bool Release() override;

  size_t GetCount(uint32_t bucket) const { return buckets[bucket].size(); }
  HvNode* GetNode(uint32_t bucket, size_t index) const { return buckets[bucket][index].Get(); }

private:
  void Clear();

  std::vector<HvRef<HvNode>> buckets[BucketCount];
  HvRef<HvZBufferProperty> depthState;  // depth writes off, depth test LESSEQUAL
};

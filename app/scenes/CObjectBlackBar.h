// Letterbox bars over the top and bottom 15 % of the screen, drawn last, for the whole demo show.
#pragma once
#include "CObject.h"

class CObjectBlackBar : public CObject {
public:
  explicit CObjectBlackBar(const char* name) : CObject(name) {}

  bool Create() override;
  bool Update() override;
  bool ScheduleEvents() override;
};

// The bars' 12 corner positions (x, y, z) in pixels for a width x height screen: two triangles per bar,
// each bar one pixel beyond the screen edges.
void BlackBarCorners(float width, float height, float out[12][3]);

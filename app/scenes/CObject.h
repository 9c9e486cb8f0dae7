// The base of every scene and overlay: a named object of the application pool that usually owns one
// node under the scene root, schedules its own timeline events and reacts to them. "turn_on" and
// "turn_off" show and hide the object and its node for every scene.
#pragma once
#include "../../engine/core/HvObject.h"
#include <initializer_list>
#include <string>

class HvGeometry;
class HvNode;
class CEventCollector;

class CObject : public HvObject {
public:
  explicit CObject(const char* name);
  ~CObject() override;

  bool Update() override;   // event progress back to -1
  bool Release() override;  // detaches the node from its parent

  virtual bool ScheduleEvents() { return true; }
  // Subclasses handle their own names first, then call this.
  virtual bool OnEvent(float progress, const std::string& name);

  HvNode* GetNode() const { return node.Get(); }
  void SetNode(HvNode* n);
  float GetEventProgress() const { return eventProgress; }

  // Overwrites, in the material of every pass of the node and its descendants, each value given.
  static void SetSubtreeMaterial(HvNode* node, const float* diffuse, const float* specular, const float* power);

protected:
  static CEventCollector& Events();  // the application's timeline
  // Uploads `geometry` and makes a node of that name carrying it this object's node, under the scene
  // root. False, with the geometry released, when its device resources cannot be made.
  bool CreateNodeWith(const char* nodeName, HvGeometry* geometry);
  // True if `model` holds a node of every name. Otherwise one message names the missing nodes and
  // `file` (the model's path in the package): a model cut short can still parse.
  static bool HasNodes(HvNode* model, const char* file, std::initializer_list<const char*> names);

  HvRef<HvNode> node;
  float eventProgress = -1.0f;  // progress of the last event delivered this frame; -1: none
};

// Loads a DirectX .X model (text or binary) into a subtree of scene nodes: named frames become nodes
// with their frame matrices, meshes become one geometry per material subset with material, texturing
// and (for translucent textures) alpha properties in pass 0, and animation sets become
// HvAnimationProperty tracks on the nodes they name, ready for an HvAnimationController.
//
// Texture names inside the file are looked up relative to the current directory and shared with
// every other user of the same name through the texture pool.
#pragma once
#include <string>

class HvNode;

// The new root, named fileName exactly as passed, or null after a failure; whatever the load had
// created by then leaves the pools at their next sweep. The caller takes the root (an HvRef or
// AddChild) before the next sweep of the node pool.
HvNode* LoadXFile(const std::string& fileName);

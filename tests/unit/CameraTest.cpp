#include "SceneFixture.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvNode.h"

using CameraTest = SceneTest;

TEST_F(CameraTest, NewCameraLooksFromMinusZAtTheOrigin) {
  HvRef<HvCamera> c = new HvCamera("c");
  EXPECT_EQ(D3DXVECTOR3(0, 0, -1), c->GetVector(HvCamera::Eye));
  EXPECT_EQ(D3DXVECTOR3(0, 0, -1), c->GetVector(HvCamera::BackVector));
  EXPECT_FLOAT_EQ(0.7853982f, c->GetFieldOfView());
  EXPECT_EQ(1.333f, c->GetAspect());
  EXPECT_EQ(1.0f, c->GetNearPlane());
  EXPECT_EQ(100.0f, c->GetFarPlane());
  EXPECT_FALSE(c->HasFlag(HvFlags::Changed));
  D3DXVECTOR4 p;
  const D3DXVECTOR3 origin(0, 0, 0);
  D3DXVec3Transform(&p, &origin, &c->GetViewProjection());
  EXPECT_NEAR(0.0f, p.x / p.w, 1e-6f);
  EXPECT_NEAR(1.0f, p.w, 1e-6f) << "one unit in front of the eye";
}

TEST_F(CameraTest, FollowsItsNodesAndKeepsItsViewWithoutThem) {
  HvRef<HvCamera> c = new HvCamera("c");
  c->LookAt(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  ASSERT_TRUE(c->Update());
  EXPECT_EQ(D3DXVECTOR3(0, 0, -10), c->GetVector(HvCamera::Eye)) << "no nodes: the view stays";
  EXPECT_FALSE(c->HasFlag(HvFlags::FirstFrame));

  HvNode* target = new HvNode("CameraTarget", new HvGeometry({D3DPT_POINTLIST, D3DFVF_XYZ, 1, 0}));
  root->AddChild(target);
  target->SetMatrix(HvMatrixLocal, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, -10, 1));
  target->Refresh();
  c->SetTargetNode(target, true);
  EXPECT_EQ(nullptr, target->GetGeometry()) << "detached: the node only marks a place";
  c->Update();
  EXPECT_EQ(D3DXVECTOR3(0, 0, -10), c->GetVector(HvCamera::Eye));
  EXPECT_EQ(D3DXVECTOR3(10, 0, -10), c->GetVector(HvCamera::Target));
  EXPECT_NEAR(-1.0f, c->GetVector(HvCamera::BackVector).x, 1e-6f);

  fake.ClearLog();
  c->Activate();
  EXPECT_EQ(2u, fake.Count("SetTransform"));
  EXPECT_EQ(c->GetProjection()._11, fake.transforms[D3DTS_PROJECTION]._11);
}

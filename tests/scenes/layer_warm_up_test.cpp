// The composition draws each layer scene once while the show loads: what
// a layer first uses is made then, and the show's own frames stay as they
// were (the shared random cursor is put back).
#include <gtest/gtest.h>

#include <string>

#include "render/cRenderTargetManager.h"
#include "scenes/cSceneComposition.h"
#include "support/shader_setup.h"
#include "support/test_scene.h"
#include "util/random_table.h"

namespace {
using LayerWarmUp = GLTest;

// A layer that draws into a size class the pool does not make in advance
// and takes random numbers, as the show's scenes do.
class cProbeScene : public cTestScene {
public:
    using cTestScene::cTestScene;
    cTmpRT render(int) override
    {
        ++renders;
        next_random();
        next_random();
        cTmpRT t = get_tmp_rt(RTT_EIGHTH);
        t->bind(true);
        t->unbind();
        return t;
    }
    int renders = 0;
};
}  // namespace

TEST_F(LayerWarmUp, EachSetOfLayersShownTogetherDrawsOnceAheadAndLeavesTheRandomCursor)
{
    start_pass_shaders();
    DemoClock clock;
    cSceneComposition comp(&clock);
    cProbeScene a(&clock, "a"), b(&clock, "b");
    comp.layers[10] = CompositionLayer{0, 1000, &a, 1.f, 0};
    comp.layers[20] = CompositionLayer{500, 2000, &b, 1.f, 0};
    comp.layers[30] = CompositionLayer{3000, 4000, &a, 1.f, 0};  // a again, as another layer

    cRenderTargetManager* pool = get_rendertarget_manager();
    set_random_cursor(77);
    testing::internal::CaptureStdout();
    comp.warm_up_layers();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    // The show shows layer 10, then 10 and 20, then 20, then 30: a is drawn
    // as 10, with b, and as 30; b with a and alone.
    EXPECT_EQ(a.renders, 3);
    EXPECT_EQ(b.renders, 2);
    EXPECT_EQ(random_cursor(), 77u);
    EXPECT_EQ(pool->created_at_runtime(), 0u);
    EXPECT_EQ(pool->in_use(), 0u);
    EXPECT_FALSE(pool->loading());

    // In the show, the layer finds its target in the pool: nothing is made,
    // nothing is reported.
    testing::internal::CaptureStdout();
    {
        cTmpRT picture = a.render(0);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(pool->created_at_runtime(), 0u);
}

#pragma once
// Scene tests of the middle of the show: a GL context with the shader
// sources and the baked meshes and textures on the resource path, a demo
// clock the test sets, and an event queue of notes the test writes.
#include <GL/gl.h>

#include <vector>

#include "render/cRenderTargetManager.h"
#include "runtime/DemoClock.h"
#include "runtime/cScene.h"
#include "support/shader_setup.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

class MiddleSceneTest : public GLTest {
protected:
    void SetUp() override;

    void note(int ms, int track, int key = 60)
    {
        queue.append(new cMETrigger(ms, iMidiEvent::KIND_NOTE_ON, track, key, 100));
    }
    // Moves the clock to ms and fires the notes before it, as the scene
    // manager does.
    void play_to(cScene& scene, int ms)
    {
        clock.now = ms;
        while (cEvent* e = queue.next_due(ms))
            scene.handleEvent(e);
    }
    // Renders, checks that the scene hands over a target of the expected
    // size without a GL error and with the caller's GL state unchanged,
    // and returns its pixels.
    std::vector<Rgba> render_checked(cScene& scene, eRTT size);

    DemoClock clock;
    cEventQueue queue;
};

// The same with one initialised scene of type T reading the test's queue
// (its loading lines kept off the test's output).
template <class T>
class MiddleSceneOf : public MiddleSceneTest {
protected:
    void SetUp() override
    {
        MiddleSceneTest::SetUp();
        scene.queue = &queue;
        testing::internal::CaptureStderr();
        scene.init();
        testing::internal::GetCapturedStderr();
    }
    T scene{&clock};
};

// Luma spread and the share of pixels at the ends of the range.
struct PictureStats {
    double mean = 0, spread = 0, black = 0, white = 0;
};
PictureStats picture_stats(const std::vector<Rgba>& pixels);
// Mean absolute luma difference of two pictures of the same size.
double picture_difference(const std::vector<Rgba>& a, const std::vector<Rgba>& b);
// Neither empty nor blown out: real contrast, and neither end of the range
// covering almost everything.
::testing::AssertionResult looks_like_a_picture(const std::vector<Rgba>& pixels);

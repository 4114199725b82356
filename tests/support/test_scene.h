#pragma once
// A scene without pictures: it records what the scene manager does to it
// and offers a few named float and int variables for interpolators.
#include <string>
#include <vector>

#include "runtime/cScene.h"
#include "timeline/cEvent.h"
#include "tweak/iVar.h"

class cTestScene : public cScene {
public:
    explicit cTestScene(DemoClock* clock, const std::string& name = "test")
        : cScene(clock), m_name(name), m_fvar("level", &level), m_ivar("mode", &mode), m_other("other", &other)
    {
    }
    std::string getName() override { return m_name; }
    void init() override { ++inits; }
    void restart() override { restarts.push_back(demo_time()); }
    void reservedHook() override {}
    void draw() override { ++draws; }
    void handleEvent(cEvent* e) override { events.push_back({e->id, e->time}); }
    bool update() override
    {
        update_interpolators();
        return false;
    }
    void fillGui(cGuiVarList&) override {}
    // No pictures: an empty handle.
    cTmpRT render(int) override { return cTmpRT(); }
    SceneVars getVars() override { return {{&m_fvar, 0.f, 1.f}, {&m_ivar, 0.f, 1.f}, {&m_other, 0.f, 1.f}}; }

    float level = -1.f;
    int mode = -1;
    float other = -1.f;
    int inits = 0;
    int draws = 0;
    std::vector<int> restarts;
    std::vector<std::pair<int, int>> events;  // id, time

private:
    std::string m_name;
    cVar<float> m_fvar;
    cVar<int> m_ivar;
    cVar<float> m_other;
};

// A second scene type that names itself like the first.
class cOtherTestScene : public cTestScene {
public:
    explicit cOtherTestScene(DemoClock* clock) : cTestScene(clock, "test") {}
};

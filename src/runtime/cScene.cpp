#include "runtime/cScene.h"

#include "tweak/iVar.h"

cScene::~cScene()
{
    for (cInterpolator* i : interpolators)
        delete i;
    interpolators.clear();
}

void cScene::update_interpolators()
{
    for (cInterpolator* i : interpolators) {
        // The clock is read again for every interpolator.
        int t = demo_time();
        if (i->isActive(&t)) {
            i->apply(&t);
            i->lastApplied = demo_time();
        } else if (m_interpolatorsRan && i->lastApplied == lastUpdate) {
            // Applied in the previous run and now out of its window: one
            // more application writes the exact end (or start) value. Before
            // the first run nothing was applied, whatever the initial marks
            // say, so a window in the future does not write early.
            i->apply(&t);
        }
    }
    lastUpdate = demo_time();
    m_interpolatorsRan = true;
}

iVar* cScene::find_var(const std::string& name)
{
    for (const auto& row : getGuiNodes())
        if (row.first && row.first->getName() == name)
            return row.first;
    return nullptr;
}

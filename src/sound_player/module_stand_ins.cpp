// Tracker modules: stand-ins only. No module format is supported, so a
// load names why it failed; the other calls check their module.
#include <cstdio>

#include "sound_player/player_state.h"

using namespace sound_player;

sp_module* sp_module_load(const char* path)
{
    if (!g_player.initialised) {
        fail(SP_ERR_UNINITIALIZED);
        return nullptr;
    }
    if (FILE* f = path ? std::fopen(path, "rb") : nullptr) {
        std::fclose(f);
        fail(SP_ERR_FILE_FORMAT);
    } else {
        fail(SP_ERR_FILE_NOTFOUND);
    }
    return nullptr;
}

bool sp_module_play(sp_module* m)
{
    if (!m)
        return fail(SP_ERR_INVALID_PARAM);
    m->playing = true;
    m->order = 0;
    return succeed();
}

int sp_module_get_order(const sp_module* m)
{
    return m ? m->order : -1;
}

bool sp_module_set_order(sp_module* m, int order)
{
    if (!m || order < 0)
        return fail(SP_ERR_INVALID_PARAM);
    m->order = order;
    return succeed();
}

bool sp_module_set_master_volume(sp_module* m, int volume)
{
    if (!m || volume < 0 || volume > 255)
        return fail(SP_ERR_INVALID_PARAM);
    m->volume = volume;
    return succeed();
}

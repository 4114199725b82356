// The one player of the process and the error code its calls leave.
#include "sound_player/player_state.h"

namespace sound_player {

Player& g_player = *new Player;

iTimeSource& player_clock()
{
    return g_player.clock ? *g_player.clock : default_time_source();
}

bool fail(int code)
{
    g_player.error = code;
    return false;
}

bool succeed()
{
    g_player.error = SP_ERR_NONE;
    return true;
}

bool valid_channel(int channel)
{
    return channel >= 0 && channel < int(g_player.channels.size());
}

}  // namespace sound_player

using namespace sound_player;

float sp_get_version()
{
    return 3.75f;
}

int sp_get_error()
{
    return g_player.error;
}

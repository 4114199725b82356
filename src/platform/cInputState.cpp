#include "platform/cInputState.h"

cInputState& input_state()
{
    static cInputState state;
    return state;
}

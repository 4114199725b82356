#pragma once
// Every registered shader drawn once, while the show loads. A software
// renderer generates a shader's code on its first draw (over a second for
// some); done here, no first use stalls a frame of the show.
void warm_up_shaders();

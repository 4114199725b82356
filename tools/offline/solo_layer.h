#pragma once
// One layer of the composition on its own, for a person tuning that scene:
// the composition still runs its timeline (its update drives the layer's
// variables); only the picture is the layer's render target alone, drawn to
// the whole frame while the layer is active and black outside its window.
// Layers are chosen by their scene's getName; where several layers' scenes
// share a name, whichever of them is active is drawn.
#include <string>

class cScene;

// True when a layer's scene of the shown composition is called `name`;
// false with a message naming the layer scenes there are.
bool find_solo_layer(cScene* shown, const std::string& name, std::string& error);
// Draws that layer alone for demo time t (ms) into the back buffer.
void draw_solo_layer(cScene* shown, const std::string& name, int t);

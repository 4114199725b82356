#pragma once
// One layer of the composition on its own, for a person tuning that scene:
// the composition still runs its timeline (its update drives the layer's
// variables); only the picture is the layer's render target alone, drawn to
// the whole frame while the layer is active and black outside its window.
#include <string>

class cScene;

// The scene of the composition layer whose getName is `name`; null with a
// message naming the layer scenes there are when none is called that (or
// the shown scene is no composition).
cScene* find_layer_scene(cScene* shown, const std::string& name, std::string& error);
// Draws that layer alone for demo time t (ms) into the back buffer.
void draw_solo_layer(cScene* shown, cScene* layerScene, int t);

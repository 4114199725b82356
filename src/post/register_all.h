#pragma once
// Every shader class under every name the show registers it by: the image
// passes' families, the downsampling shaders and the scene shading. For
// tools that want them all at once (the benchmark, checks of the sources).
void register_all_shaders();

#pragma once
// Assets of the middle of the show (the spike ball, the black-and-white
// star and the space sphere), baked into DATA/models/ and DATA/textures/
// under the names of scenes/show_assets.h.
#include <string>

bool bake_spikeball(const std::string& dataDir);
bool bake_blacknwhite_star(const std::string& dataDir);
bool bake_blacknwhite_spikes(const std::string& dataDir);
bool bake_spacesphere(const std::string& dataDir);
bool bake_spikeball_glow(const std::string& dataDir);
bool bake_dodgecircle(const std::string& dataDir);
bool bake_sky_panorama(const std::string& dataDir);

#pragma once
// Assets of the middle of the show (the spike ball, the black-and-white
// star and the space sphere), baked into DATA/models/ and DATA/textures/.
#include <string>

bool bake_spikeball(const std::string& dataDir);          // models/spikeball2.bzobj
bool bake_blacknwhite_star(const std::string& dataDir);   // models/blacknwhite_star.bzobj
bool bake_blacknwhite_spikes(const std::string& dataDir); // models/blacknwhite_spikes.bzobj
bool bake_spacesphere(const std::string& dataDir);        // models/spacesphere.bzobj
bool bake_spikeball_glow(const std::string& dataDir);     // textures/spikeball_glow.png
bool bake_dodgecircle(const std::string& dataDir);        // textures/dodgecircle.jpg
bool bake_sky_panorama(const std::string& dataDir);       // textures/sphere_horizon_dark.jpg

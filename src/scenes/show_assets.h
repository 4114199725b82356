#pragma once
// The baked files of the show's 3-D scenes, by name: the scenes load them
// under these names, `wendit bake` writes them under them and `wendit check`
// looks at them. Meshes lie under DATA/models/, images under DATA/textures/.
namespace show_assets {
// meshes
inline constexpr char SPIKE_BALL[] = "spikeball2.bzobj";
inline constexpr char STAR[] = "blacknwhite_star.bzobj";
inline constexpr char STAR_SPIKES[] = "blacknwhite_spikes.bzobj";
inline constexpr char SPACE_SPHERE[] = "spacesphere.bzobj";
// images
inline constexpr char SPIKE_BALL_GLOW[] = "spikeball_glow.png";
inline constexpr char DODGE_CIRCLE[] = "dodgecircle.jpg";
inline constexpr char SKY_PANORAMA[] = "sphere_horizon_dark.jpg";
inline constexpr char VIGNETTE[] = "fs_vign.jpg";

inline constexpr char MODELS[] = "models/";
inline constexpr char TEXTURES[] = "textures/";
}  // namespace show_assets

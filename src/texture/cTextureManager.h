#pragma once
// Image files decoded once (FreeImage), uploaded as GL textures and cached
// by full path.
//
// The target is chosen from the size unless asked for: one pixel high gives
// a 1-D texture, a side that is not a power of two a rectangle texture
// (addressed in texels, never mipmapped), anything else a 2-D texture. Only
// 24- and 32-bit images are accepted. A missing, unreadable or unsupported
// file ends the process with exit code -1: the show cannot run without its
// images.
#include <map>
#include <string>

#include "texture/cTexture.h"

class cTextureManager {
public:
    cTextureManager() = default;
    ~cTextureManager();  // deletes every cached GL texture
    cTextureManager(const cTextureManager&) = delete;
    cTextureManager& operator=(const cTextureManager&) = delete;

    // The first request for a file decides mipmaps, wrap and target; later
    // requests get the cached record.
    cTexture get_texture(std::string name, bool mipmap, GLenum wrap, GLenum target);

    // A 1x1 opaque white 2-D texture, made on first request and deleted with
    // the manager: what the mesh shaders sample for a material without a map,
    // so that the material's own colours show.
    cTexture white_texture();
    // Decodes a cached texture's file again into the same GL texture (a
    // tuning session rebakes or repaints an image while the show runs).
    // 1 when reloaded, 0 when `path` is no texture of the cache, -1 when the
    // file cannot be used (unreadable, not 24 or 32 bpp, another size): the
    // old picture stays and `error` says why.
    int reload(const std::string& path, std::string& error);

    size_t size() const { return m_cache.size(); }
    bool cached(const std::string& fullPath) const { return m_cache.count(fullPath) != 0; }
    // Every texture loaded so far, by full path (the profiler sums their sizes).
    const std::map<std::string, cTexture>& loaded() const { return m_cache; }

private:
    std::map<std::string, cTexture> m_cache;
    cTexture m_white;
};

cTextureManager* get_texture_manager();
void destroy_texture_manager();
bool texture_manager_exists();

// The automatic target for an image size.
GLenum choose_texture_target(unsigned width, unsigned height);

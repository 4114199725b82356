#include "app/init_sdl.h"

#include <SDL/SDL.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "platform/WindowConfig.h"
#include "util/fatal_exit.h"

namespace {
const SDL_GLattr ATTRIBUTES[WindowConfig::ATTRIBUTE_COUNT] = {
    SDL_GL_RED_SIZE,           SDL_GL_GREEN_SIZE,          SDL_GL_BLUE_SIZE,
    SDL_GL_ALPHA_SIZE,         SDL_GL_DEPTH_SIZE,          SDL_GL_DOUBLEBUFFER,
    SDL_GL_MULTISAMPLEBUFFERS, SDL_GL_MULTISAMPLESAMPLES, SDL_GL_STEREO,
};

void describe(std::ostream& os, const int v[9])
{
    os << v[0] << "x" << v[1] << "x" << v[2] << "x" << v[3] << "x" << v[4] << " "
       << (v[5] ? " doublebuffered " : " singlebuffered ") << (v[6] ? "multisample " : " ") << v[7];
}
}  // namespace

std::string attribute_mismatch_warning(const int requested[9], const int received[9])
{
    for (int i = 0; i < WindowConfig::ATTRIBUTE_COUNT; ++i) {
        if (requested[i] == received[i])
            continue;
        std::ostringstream os;
        os << "# warning: init_sdl: SDL display attribute " << i << " failed\n";
        os << "requested: ";
        describe(os, requested);
        os << "\nrecieved: ";
        describe(os, received);
        os << "\n---------------------\n";
        return os.str();
    }
    return "";
}

void init_sdl(WindowConfig& config)
{
    const SDL_version* v = SDL_Linked_Version();
    if (v && v->major * 1000 + v->minor * 100 + v->patch < 1211)
        std::cerr << "# WARNING: init_sdl(): Old SDL-version detected. Get an upgrade from http://www.libsdl.org"
                  << std::endl;

    // Without an X display SDL would fall back to its text-console drivers,
    // which have no OpenGL (and scribble on the terminal): ask for X unless
    // the person chose a driver, so that SDL's failure names the real cause.
    setenv("SDL_VIDEODRIVER", "x11", 0);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::cerr << "## ERROR: whoops, SDL failed to init: " << SDL_GetError() << " exiting!" << std::endl;
        end_process(1);
    }

    int requested[WindowConfig::ATTRIBUTE_COUNT];
    config.requested_attributes(requested);
    for (int i = 0; i < WindowConfig::ATTRIBUTE_COUNT; ++i)
        SDL_GL_SetAttribute(ATTRIBUTES[i], requested[i]);

    config.surface = SDL_SetVideoMode(config.width, config.height, config.bitsPerPixel, config.videoFlags);
    if (!config.surface && config.multisampleBuffers != 0) {
        std::cerr << "## ERROR: Failed to get FSAA-buffer!" << std::endl;
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        config.surface = SDL_SetVideoMode(config.width, config.height, config.bitsPerPixel, config.videoFlags);
    }
    if (!config.surface) {
        std::cerr << "## ERROR: whoops, SDL didn't get screen - exiting" << std::endl;
        std::cerr << "## ERROR: SDL's reason: " << SDL_GetError() << std::endl;
        end_process(-1);
    }

    int received[WindowConfig::ATTRIBUTE_COUNT];
    for (int i = 0; i < WindowConfig::ATTRIBUTE_COUNT; ++i) {
        received[i] = 0;
        SDL_GL_GetAttribute(ATTRIBUTES[i], &received[i]);
    }
    std::cerr << attribute_mismatch_warning(requested, received) << std::flush;

    SDL_WM_SetCaption("Wendit OpenGL", nullptr);
    SDL_ShowCursor(config.fullscreen() ? 0 : 1);
}

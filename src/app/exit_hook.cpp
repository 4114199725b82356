#include "app/exit_hook.h"

#include <SDL/SDL.h>

#include <cstdlib>
#include <iostream>

#include "platform/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"
#include "util/fatal_exit.h"

namespace {
bool g_registered = false;
bool g_ran = false;
}  // namespace

void exit_hook()
{
    if (g_ran)
        return;  // already run by end_process
    g_ran = true;
    cSceneManager::destroy();
    destroy_shader_manager();
    destroy_texture_manager();
    destroy_rendertarget_manager();
    destroy_resource_path();
    SDL_Quit();
    destroy_window_config();
    std::cout << "requested exit" << std::endl;
}

void register_exit_hook()
{
    if (g_registered)
        return;
    g_registered = true;
    std::atexit(exit_hook);
    set_exit_teardown(exit_hook);
}

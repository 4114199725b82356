#include "app/exit_hook.h"

#include <SDL/SDL.h>

#include <iostream>

#include "app/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

void exit_hook()
{
    cSceneManager::destroy();
    // The shader manager goes here once it exists.
    destroy_texture_manager();
    destroy_rendertarget_manager();
    destroy_resource_path();
    SDL_Quit();
    destroy_window_config();
    std::cout << "requested exit" << std::endl;
}

#include "app/exit_hook.h"

#include <SDL/SDL.h>

#include <iostream>

#include "app/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

void exit_hook()
{
    cSceneManager::destroy();
    destroy_shader_manager();
    destroy_texture_manager();
    destroy_rendertarget_manager();
    destroy_resource_path();
    SDL_Quit();
    destroy_window_config();
    std::cout << "requested exit" << std::endl;
}

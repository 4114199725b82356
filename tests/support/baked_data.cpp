#include "support/baked_data.h"

#include <unistd.h>

#include <cstdlib>

#include "support/show_run.h"
#include "texture/cResourcePath.h"

namespace {
const DataTree* g_tree = nullptr;
pid_t g_owner = 0;

// Removes the tree when the process that made it ends (not in forked
// children, which share it).
void remove_tree()
{
    if (g_tree && getpid() == g_owner)
        delete g_tree;
    g_tree = nullptr;
}
}  // namespace

std::string baked_data_dir()
{
    if (!g_tree) {
        g_tree = new DataTree("s00 00:00:00,000\n");
        g_owner = getpid();
        std::atexit(remove_tree);
    }
    return g_tree->data();
}

void use_baked_textures()
{
    get_resource_path()->push_searchpath(baked_data_dir() + "/textures");
}

bool baked_tree_required()
{
    const char* v = std::getenv("WENDIT_REQUIRE_BAKED");
    return v && *v && std::string(v) != "0";
}

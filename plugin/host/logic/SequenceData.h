// The effect's sequence operations: an instance's layer-texture cache in a host handle, its flat form
// for saved projects, and its textures deleted on the renderer thread.
#pragma once

#include "ae_effect.h"

class RendererThread;
struct layer_texture_cache;

namespace sequence {

// A new cache with no textures.
PF_Handle setup(const PF_UtilCallbacks& utils);
// Deletes the cache's textures through the renderer thread (none when there is no renderer) and
// disposes of the handle.
void setdown(const PF_UtilCallbacks& utils, PF_Handle cache, RendererThread* renderer);
// The flat form (the header alone: textures cannot be stored); ends the cache as setdown does. When the
// host refuses the flat form's handle, `err` becomes its out-of-memory error and the cache itself comes
// back, as it was.
PF_Handle flatten(const PF_UtilCallbacks& utils, PF_Handle cache, RendererThread* renderer, PF_Err& err);
// A fresh, empty cache whatever the handle holds; disposes of the handle. A handle that is not the flat
// form but holds a cache (the host may hand unflat data back) ends as setdown ends it, textures and all.
PF_Handle resetup(const PF_UtilCallbacks& utils, PF_Handle data, RendererThread* renderer);
// The cache in a locked handle, or null when the handle is too small to hold one (a host may hand over
// the flat form, or anything else, where it should hand the cache).
layer_texture_cache* cacheIn(const PF_UtilCallbacks& utils, PF_Handle handle, void* locked);

}  // namespace sequence

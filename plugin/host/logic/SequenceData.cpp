#include "SequenceData.h"

#include "ChunkContainer.h"
#include "HandleLock.h"
#include "RendererThread.h"
#include "layer_texture_cache.h"

namespace sequence {

PF_Handle setup(const PF_UtilCallbacks& utils) {
    PF_Handle handle = utils.host_new_handle(sizeof(layer_texture_cache));
    HandleLock lock(&utils, handle);
    if (auto* cache = static_cast<layer_texture_cache*>(lock.data())) {
        // The state tokens stay as the host made them: an entry without a texture never compares them.
        for (layer_cache_entry& entry : cache->entries) entry.texture = entry.width = entry.height = entry.mode = 0;
    }
    return handle;
}

void setdown(const PF_UtilCallbacks& utils, PF_Handle cache, RendererThread* renderer) {
    if (!cache) return;
    if (renderer) {
        HandleLock lock(&utils, cache);
        if (const layer_texture_cache* entries = cacheIn(utils, cache, lock.data())) {
            for (const layer_cache_entry& entry : entries->entries) renderer->deleteTexture(entry.texture);
        }
    }
    utils.host_dispose_handle(cache);
}

PF_Handle flatten(const PF_UtilCallbacks& utils, PF_Handle cache, RendererThread* renderer, PF_Err& err) {
    PF_Handle flat = nullptr;
    {
        HandleLock lock(&utils, cache);
        if (lock.data()) {
            ChunkContainer measure(nullptr, 0, ChunkContainer::Mode::measure);
            measure.header();
            flat = utils.host_new_handle(measure.size());
            if (!flat) {
                err = PF_Err_OUT_OF_MEMORY;
                return cache;  // the instance keeps its cache and its textures
            }
            HandleLock flatLock(&utils, flat);
            ChunkContainer writer(flatLock.data(), measure.size(), ChunkContainer::Mode::write);
            writer.header();
        }
    }
    setdown(utils, cache, renderer);
    return flat;
}

PF_Handle resetup(const PF_UtilCallbacks& utils, PF_Handle data, RendererThread* renderer) {
    PF_Handle fresh = setup(utils);
    if (!data) return fresh;
    bool flat = false;
    {
        HandleLock lock(&utils, data);
        const uint64_t size = utils.host_get_handle_size(data);
        if (lock.data() && size != 0) {
            // No chunk is read in this version: a flat form only tells itself from the cache by its header.
            ChunkContainer reader(lock.data(), size);
            flat = reader.header();
        }
    }
    // The host may hand the cache itself back (a duplicated layer's, say): the fresh cache replaces it, so
    // its textures go with it.
    if (flat)
        utils.host_dispose_handle(data);
    else
        setdown(utils, data, renderer);
    return fresh;
}

layer_texture_cache* cacheIn(const PF_UtilCallbacks& utils, PF_Handle handle, void* locked) {
    if (!locked || utils.host_get_handle_size(handle) < sizeof(layer_texture_cache)) return nullptr;
    return static_cast<layer_texture_cache*>(locked);
}

}  // namespace sequence

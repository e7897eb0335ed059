#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "HostHandles.h"
#include "RendererThread.h"
#include "SequenceData.h"
#include "WatchedTest.h"
#include "layer_texture_cache.h"

namespace {

const std::string flatHeader("QSCHF\0\0\1", 8);

std::string contents(PF_Handle handle, size_t size) { return {static_cast<const char*>(*handle), size}; }

void expectEmptyCache(const layer_texture_cache& cache) {
    for (const layer_cache_entry& entry : cache.entries) {
        EXPECT_EQ(entry.texture, 0u);
        EXPECT_EQ(entry.width, 0u);
        EXPECT_EQ(entry.height, 0u);
        EXPECT_EQ(entry.mode, 0u);
    }
}

// The sequence operations called directly, on handles of a host that fills new blocks with 0xAB.
class SequenceOperations : public WatchedTest {
protected:
    void SetUp() override { handles = &store; }
    void TearDown() override {
        EXPECT_TRUE(store.faults().empty()) << store.faults().front();
        handles = nullptr;
    }

    static PF_Handle newHandle(A_u_longlong size) {
        PF_Handle handle = handles->create(size);
        std::memset(*handle, 0xAB, size);
        return handle;
    }
    static void* lock(PF_Handle handle) { return handles->lock(handle); }
    static void unlock(PF_Handle handle) { handles->unlock(handle); }
    static void dispose(PF_Handle handle) { handles->dispose(handle); }
    static A_u_longlong size(PF_Handle handle) { return handles->size(handle); }

    static inline hostsim::HostHandles* handles = nullptr;
    hostsim::HostHandles store;
    static PF_UtilCallbacks handleCallbacks() {
        PF_UtilCallbacks callbacks{};
        callbacks.host_new_handle = newHandle;
        callbacks.host_lock_handle = lock;
        callbacks.host_unlock_handle = unlock;
        callbacks.host_dispose_handle = dispose;
        callbacks.host_get_handle_size = size;
        return callbacks;
    }
    const PF_UtilCallbacks utils = handleCallbacks();
};

TEST_F(SequenceOperations, SetupClearsEveryEntryAndLeavesTheStateTokens) {
    const PF_Handle handle = sequence::setup(utils);
    ASSERT_EQ(store.size(handle), 164u);
    EXPECT_EQ(store.lockCount(handle), 0u);
    const auto& cache = *static_cast<const layer_texture_cache*>(*handle);
    expectEmptyCache(cache);
    for (const layer_cache_entry& entry : cache.entries)
        for (size_t byte = 0; byte < sizeof entry.state; ++byte)
            EXPECT_EQ(reinterpret_cast<const unsigned char*>(&entry.state)[byte], 0xAB);
    store.dispose(handle);
}

TEST_F(SequenceOperations, SetdownFlattenAndAResetupOfTheCacheDeleteTheFiveTexturesOnTheRendererThread) {
    RendererThread thread;
    // The host may hand the cache itself to re-set-up (a duplicated layer's, say) instead of its flat form.
    enum class ending { setdown, flatten, resetup };
    for (ending end : {ending::setdown, ending::flatten, ending::resetup}) {
        const char* const name[] = {"setdown", "flatten", "resetup"};
        SCOPED_TRACE(name[static_cast<int>(end)]);
        GLuint textures[6] = {};
        thread.postAndWait([&] {
            glGenTextures(6, textures);
            for (GLuint texture : textures) glBindTexture(GL_TEXTURE_2D, texture);
            glBindTexture(GL_TEXTURE_2D, 0);
        });
        const PF_Handle handle = sequence::setup(utils);
        auto& cache = *static_cast<layer_texture_cache*>(*handle);
        for (int i = 0; i < layerCacheEntries; ++i) cache.entries[i].texture = textures[i];

        if (end == ending::flatten) {
            PF_Err err = PF_Err_NONE;
            const PF_Handle flat = sequence::flatten(utils, handle, &thread, err);
            EXPECT_EQ(err, PF_Err_NONE);
            EXPECT_EQ(contents(flat, store.size(flat)), flatHeader);
            store.dispose(flat);
        } else if (end == ending::resetup) {
            const PF_Handle fresh = sequence::resetup(utils, handle, &thread);
            expectEmptyCache(*static_cast<const layer_texture_cache*>(*fresh));
            store.dispose(fresh);
        } else {
            sequence::setdown(utils, handle, &thread);
        }
        EXPECT_FALSE(store.isLive(handle));

        bool exists[6] = {};
        thread.postAndWait([&] {
            for (int i = 0; i < 6; ++i) exists[i] = glIsTexture(textures[i]);
            glDeleteTextures(1, &textures[5]);
        });
        for (int i = 0; i < 5; ++i) EXPECT_FALSE(exists[i]) << "entry " << i;
        EXPECT_TRUE(exists[5]) << "a texture outside the cache was deleted";
    }
}

TEST_F(SequenceOperations, AResetupOfTheFlatFormDeletesNoTexture) {
    RendererThread thread;
    GLuint texture = 0;
    thread.postAndWait([&] {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glBindTexture(GL_TEXTURE_2D, 0);
    });
    // The flat form with chunks after its header, long enough to be read as a cache whose second entry
    // names that texture (the first one's name would overlap the header).
    std::string bytes = flatHeader + std::string(sizeof(layer_texture_cache) - flatHeader.size(), '\0');
    std::memcpy(bytes.data() + offsetof(layer_texture_cache, entries) + sizeof(layer_cache_entry), &texture,
                sizeof texture);
    const PF_Handle flat = store.create(bytes.size());
    std::memcpy(*flat, bytes.data(), bytes.size());
    const PF_Handle fresh = sequence::resetup(utils, flat, &thread);
    EXPECT_FALSE(store.isLive(flat));
    bool exists = false;
    thread.postAndWait([&] {
        exists = glIsTexture(texture);
        glDeleteTextures(1, &texture);
    });
    EXPECT_TRUE(exists);
    store.dispose(fresh);
}

TEST_F(SequenceOperations, WithoutARendererTheCacheIsOnlyDisposedOf) {
    const PF_Handle handle = sequence::setup(utils);
    static_cast<layer_texture_cache*>(*handle)->entries[0].texture = 7;
    sequence::setdown(utils, handle, nullptr);
    EXPECT_FALSE(store.isLive(handle));
    EXPECT_EQ(store.liveCount(), 0u);
}

TEST_F(SequenceOperations, NullHandlesAreNeitherLockedNorDisposed) {
    sequence::setdown(utils, nullptr, nullptr);
    PF_Err err = PF_Err_NONE;
    EXPECT_EQ(sequence::flatten(utils, nullptr, nullptr, err), nullptr);
    EXPECT_EQ(err, PF_Err_NONE);
    const PF_Handle fresh = sequence::resetup(utils, nullptr, nullptr);
    ASSERT_EQ(store.size(fresh), 164u);
    expectEmptyCache(*static_cast<const layer_texture_cache*>(*fresh));
    store.dispose(fresh);
}

// Through the real plug-in in the simulated host.
class SequenceData : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_EQ(host->send(PF_Cmd_GLOBAL_SETUP), PF_Err_NONE);
    }

    // Re-set-up from a flat handle the host holds; expects a fresh cache and the flat handle gone.
    void expectFreshCacheFrom(PF_Handle flat, const std::string& what) {
        host->setSequenceData(flat);
        ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_RESETUP), PF_Err_NONE) << what;
        const PF_Handle fresh = host->sequenceData();
        ASSERT_NE(fresh, nullptr) << what;
        EXPECT_EQ(host->handles().size(fresh), 164u) << what;
        EXPECT_EQ(host->handles().lockCount(fresh), 0u) << what;
        expectEmptyCache(*static_cast<const layer_texture_cache*>(*fresh));
        if (flat) {
            EXPECT_FALSE(host->handles().isLive(flat)) << what;
        }
        ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
        EXPECT_FALSE(host->handles().isLive(fresh)) << what;
    }

    PF_Handle flatHandle(const std::string& bytes) {
        const PF_Handle handle = host->handles().create(bytes.size());
        std::memcpy(*handle, bytes.data(), bytes.size());
        return handle;
    }
};

TEST_F(SequenceData, SetupGivesAnEmptyCacheAndSetdownDisposesOfIt) {
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
    const PF_Handle cache = host->sequenceData();
    ASSERT_NE(cache, nullptr);
    EXPECT_EQ(host->lastOutData().sequence_data, cache);
    EXPECT_EQ(host->handles().size(cache), 164u);
    EXPECT_EQ(host->handles().lockCount(cache), 0u);
    expectEmptyCache(*static_cast<const layer_texture_cache*>(*cache));

    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETDOWN), PF_Err_NONE);
    EXPECT_FALSE(host->handles().isLive(cache));
    EXPECT_EQ(host->sequenceData(), nullptr);
}

TEST_F(SequenceData, FlattenYieldsExactlyTheHeader) {
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_SETUP), PF_Err_NONE);
    const PF_Handle cache = host->sequenceData();
    ASSERT_EQ(host->send(PF_Cmd_SEQUENCE_FLATTEN), PF_Err_NONE);
    const PF_Handle flat = host->sequenceData();
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(host->handles().size(flat), 8u);
    EXPECT_EQ(contents(flat, 8), flatHeader);
    EXPECT_EQ(host->handles().lockCount(flat), 0u);
    EXPECT_FALSE(host->handles().isLive(cache)) << "flatten ends the unflattened cache";

    // The saved form comes back as an empty cache.
    expectFreshCacheFrom(flat, "flattened");
}

TEST_F(SequenceData, ResetupStartsAFreshCacheWhateverTheFlatHandleHolds) {
    expectFreshCacheFrom(flatHandle(std::string("QSCFH\0\0\1", 8)), "QSCFH");
    expectFreshCacheFrom(flatHandle(std::string("QSCHF\0\0\2", 8)), "version 2");
    expectFreshCacheFrom(flatHandle(std::string("QSCHF\0\0\1", 8) + "trailing bytes"), "with chunks");
    expectFreshCacheFrom(flatHandle(""), "empty handle");
    expectFreshCacheFrom(nullptr, "null handle");

    std::mt19937 random(1104);
    for (size_t length = 1; length <= 40; ++length) {
        std::string bytes(length, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        expectFreshCacheFrom(flatHandle(bytes), "random bytes of length " + std::to_string(length));
    }
}

}  // namespace

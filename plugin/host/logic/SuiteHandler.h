// Acquires host suites by name and version on first use and releases each one it holds when it goes
// out of scope, also when the operation ends by an exception.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "SuiteReleaseList.h"
#include "ae_suites.h"

namespace suites {

// The key a suite type is acquired with; one version per name throughout the effect.
template <class Suite> struct traits;
#define QS_SUITE(type, suite_name, suite_version)                                                             \
    template <> struct traits<type> {                                                                         \
        static constexpr suite_key key{suite_name, suite_version};                                            \
    };
QS_SUITE(AEGP_UtilitySuite4, kAEGPUtilitySuite, kAEGPUtilitySuiteVersion4)
QS_SUITE(PFAppSuite4, kPFAppSuite, kPFAppSuiteVersion4)
QS_SUITE(AEGP_PFInterfaceSuite1, kAEGPPFInterfaceSuite, kAEGPPFInterfaceSuiteVersion1)
QS_SUITE(AEGP_LayerSuite5, kAEGPLayerSuite, kAEGPLayerSuiteVersion5)
QS_SUITE(AEGP_CompSuite5, kAEGPCompSuite, kAEGPCompSuiteVersion5)
QS_SUITE(AEGP_ItemSuite6, kAEGPItemSuite, kAEGPItemSuiteVersion6)
QS_SUITE(AEGP_CameraSuite2, kAEGPCameraSuite, kAEGPCameraSuiteVersion2)
QS_SUITE(AEGP_LightSuite2, kAEGPLightSuite, kAEGPLightSuiteVersion2)
QS_SUITE(AEGP_StreamSuite2, kAEGPStreamSuite, kAEGPStreamSuiteVersion2)
QS_SUITE(AEGP_DynamicStreamSuite2, kAEGPDynamicStreamSuite, kAEGPDynamicStreamSuiteVersion2)
QS_SUITE(AEGP_EffectSuite2, kAEGPEffectSuite, kAEGPEffectSuiteVersion2)
QS_SUITE(PF_ParamUtilsSuite3, kPFParamUtilsSuite, kPFParamUtilsSuiteVersion3)
QS_SUITE(PF_EffectCustomUISuite1, kPFEffectCustomUISuite, kPFEffectCustomUISuiteVersion1)
QS_SUITE(DRAWBOT_DrawbotSuite1, kDRAWBOT_DrawSuite, kDRAWBOT_DrawSuite_Version1)
QS_SUITE(DRAWBOT_SupplierSuite1, kDRAWBOT_SupplierSuite, kDRAWBOT_SupplierSuite_Version1)
QS_SUITE(DRAWBOT_SurfaceSuite1, kDRAWBOT_SurfaceSuite, kDRAWBOT_SurfaceSuite_Version1)
#undef QS_SUITE

// Slot of a key in the release list; the list's size when the key is unknown.
constexpr size_t slotOf(suite_key key) {
    for (size_t i = 0; i < releaseList.size(); ++i)
        if (releaseList[i].name == key.name && releaseList[i].version == key.version) return i;
    return releaseList.size();
}

}  // namespace suites

class SuiteHandler {
public:
    explicit SuiteHandler(SPBasicSuite* basic) : basic_(basic) {}
    ~SuiteHandler() { releaseAllSuites(); }
    SuiteHandler(const SuiteHandler&) = delete;
    SuiteHandler& operator=(const SuiteHandler&) = delete;

    // The suite, acquired on first use; null when the host refuses it, and callers then skip the step.
    template <class Suite> const Suite* get() { return static_cast<const Suite*>(acquire(slotFor<Suite>())); }

    void releaseAllSuites();

private:
    template <class Suite> static size_t slotFor() {
        constexpr size_t slot = suites::slotOf(suites::traits<Suite>::key);
        static_assert(slot < suites::releaseList.size(), "every suite the effect uses is on the release list");
        return slot;
    }
    const void* acquire(size_t slot);

    SPBasicSuite* basic_;
    std::array<const void*, 127> slots_{};  // one per release-list entry, two spare
};

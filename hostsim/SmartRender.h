// One frame through the SmartFX protocol: the host's pre-render request and layer checkouts, then the
// render with its pixel checkouts and the output world.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Image.h"
#include "LayerRef.h"
#include "World.h"
#include "ae_smartfx.h"
#include "ae_suites.h"

namespace hostsim {

struct frame_request {
    double seconds = 0;  // comp time
    int bitsPerChannel = 8;
    downsample_factors downsample{};  // 1, 2, 3 ... each way: the host renders at 1/downsample of the comp's size
    int outputRowPadding = 0;  // bytes the output world's rows carry beyond their pixels, as a host may
    // Map layers handed over trimmed to the bounding box of their pixels that are not transparent, as the
    // host hands text and shape layers: the checkout's result rectangle and the world's origin say where.
    bool sparseLayers = false;
};

// A layer as the host renders it for the effect: which comp layer, and its picture (null: none).
struct layer_source {
    AEGP_LayerIDVal id = 0;
    std::shared_ptr<const Image> image;
};

// What the host did for one frame, for callers to look at.
struct frame_record {
    PF_Err preRenderResult = PF_Err_NONE;
    bool renderSent = false;  // SMART_RENDER follows only a pre-render that succeeded
    PF_Err renderResult = PF_Err_NONE;
    double renderMilliseconds = 0;  // the SMART_RENDER call's wall time, as the host timed it
    PF_LRect resultRect{};     // as the effect's pre-render left them
    PF_LRect maxResultRect{};
    struct checkout {
        PF_ParamIndex index = 0;
        A_long id = 0;
        PF_RenderRequest request{};
        A_long time = 0;
        PF_LRect result{};  // the host's answer: where the layer's pixels will lie
        A_long refWidth = 0, refHeight = 0;  // and the layer's size at full resolution
    };
    std::vector<checkout> layerCheckouts;   // pre-render
    std::vector<A_long> pixelCheckouts;     // render, by checkout id
    int outputCheckouts = 0;
    // Comp layer id -> how often the host rendered the layer's picture for the frame: once for each
    // checkout id naming it, and once for each checkout of a layer parameter naming it.
    std::map<AEGP_LayerIDVal, int> layerRenders;
    // The host's rules the effect broke in the frame; each broken rule also failed its call.
    std::vector<std::string> faults;

    // The checkout ids of the pre-render, each once, in the order of their first checkout.
    std::vector<A_long> checkoutIds() const;
};

class SmartRenderSession {
public:
    // `compWidth` x `compHeight` is the comp's size at full resolution (the effect's layer has it), the
    // frame is that at the request's downsampling; `pixelAspect` is the comp's and its layers'.
    // `layerSource` gives the layer behind a layer parameter's index at the frame's time, its picture at
    // full resolution; index 0 is the effect's own input layer.
    SmartRenderSession(const frame_request& request, int compWidth, int compHeight, PF_RationalScale pixelAspect,
                       std::function<layer_source(PF_ParamIndex)> layerSource);
    // Gives the effect's pre-render data back through the effect's delete function, as the host does once
    // the frame no longer needs it.
    ~SmartRenderSession();
    SmartRenderSession(const SmartRenderSession&) = delete;
    SmartRenderSession& operator=(const SmartRenderSession&) = delete;

    PF_PreRenderExtra& preRenderExtra() { return preExtra_; }
    PF_SmartRenderExtra& renderExtra() { return renderExtra_; }
    World& output() { return *output_; }
    // Hands the output world to the caller once the frame is done.
    std::unique_ptr<World> takeOutput() { return std::move(output_); }
    frame_record& record() { return record_; }
    const frame_request& request() const { return request_; }

    // What the effect answered: the pre-render's result and rectangles (its data goes on to the render),
    // and the render's result.
    void finishPreRender(PF_Err result);
    // Has the pixels of every layer the pre-render checked out ready, as a host renders them between the
    // two commands, so the render's pixel checkouts only hand them over.
    void prepareLayerPixels();
    void finishRender(PF_Err result);

    // The interface callbacks reach the session here.
    PF_Err checkoutLayer(PF_ParamIndex index, A_long id, const PF_RenderRequest* req, A_long time,
                         PF_CheckoutResult* result);
    PF_Err checkoutLayerPixels(A_long id, PF_EffectWorld** pixels);
    PF_Err checkinLayerPixels(A_long id);
    PF_Err checkoutOutput(PF_EffectWorld** output);
    // A layer parameter was checked out during the frame: the host rendered its layer to hand it over.
    void layerParamCheckedOut(PF_ParamIndex index);

    // Runs before every layer pixel checkout; returning true refuses it, as a host short of memory would.
    std::function<bool(A_long id)> refusePixels;

private:
    // The layer behind the index with its picture at the frame's resolution.
    layer_source scaledLayer(PF_ParamIndex index);
    // The pixels of one checkout, made on first use; null for an empty layer parameter.
    World* layerPixels(A_long id, PF_ParamIndex index);

    frame_request request_;
    int compWidth_, compHeight_;
    int width_, height_;  // the frame's, at its downsampling
    PF_RationalScale pixelAspect_;
    std::function<layer_source(PF_ParamIndex)> layerSource_;
    std::map<A_long, PF_ParamIndex> checkedOut_;  // checkout id -> parameter index
    std::map<A_long, PF_LRect> trimmedTo_;        // checkout id -> result rectangle of a sparse layer
    std::map<A_long, std::unique_ptr<World>> pixels_;  // null for a checkout without pixels
    std::unique_ptr<World> output_;
    frame_record record_;

    PF_PreRenderInput preInput_{};
    PF_PreRenderOutput preOutput_{};
    PF_PreRenderCallbacks preCallbacks_{};
    PF_PreRenderExtra preExtra_{};
    PF_SmartRenderInput renderInput_{};
    PF_SmartRenderCallbacks renderCallbacks_{};
    PF_SmartRenderExtra renderExtra_{};
};

}  // namespace hostsim

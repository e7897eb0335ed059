#include "ControlPanelBanner.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "ParamIds.h"
#include "ParamRegistry.h"
#include "PluginResources.h"
#include "ProductInfo.h"
#include "ProductPage.h"
#include "format_string.h"
#include "image.h"
#include "shell_open.h"

namespace {

// The part of the banner that looks like a link, relative to the control's frame; both ends inclusive.
constexpr PF_LRect hotRect{150, 20, 280, 64};
// The host's pixel layout code for bytes B, G, R, A.
constexpr DRAWBOT_PixelLayout bannerLayout = kDRAWBOT_PixelLayout_32BGR;

bool inHotRect(const PF_Point& point, const PF_LRect& frame) {
    const A_long x = point.h - frame.left, y = point.v - frame.top;
    return x >= hotRect.left && x <= hotRect.right && y >= hotRect.top && y <= hotRect.bottom;
}

bool isBannerControl(const PF_EventExtra& event) {
    const PF_ParamIndex index = event.effect_win.index;
    return index >= 0 && static_cast<size_t>(index) < paramIdByIndex.size() &&
           paramIdByIndex[static_cast<size_t>(index)] == param::controlsPanel;
}

// Decodes both frames with the kit's image and copies them out, row by row, into rows without padding.
// False when the picture cannot be decoded.
bool decode(std::span<const unsigned char> png, banner_pixels& out) {
    std::unique_ptr<qssdk::ui::image> picture = qssdk::ui::image::create();
    constexpr float scale = 1.0f;
    if (!picture->load_from_memory(png.data(), png.size(), scale)) return false;
    out.frameWidth = static_cast<int32_t>(static_cast<float>(picture->pixel_width()) / scale);
    out.frameHeight = static_cast<int32_t>(static_cast<float>(picture->pixel_height()) / scale / 2);
    qssdk::ui::pixel_lock lock;
    picture->lock_pixels(lock);
    const size_t rowBytes = size_t{lock.width} * 4;
    out.bytes.assign(rowBytes * lock.height, 0);
    for (uint32_t y = 0; y < lock.height; ++y)
        std::copy_n(lock.data + size_t{y} * lock.stride, rowBytes, out.bytes.data() + rowBytes * y);
    picture->update_bitmaps(lock);
    return true;
}

}  // namespace

ControlPanelBanner::ControlPanelBanner(std::span<const unsigned char> png) : png_(png) {}

ControlPanelBanner::ControlPanelBanner() : ControlPanelBanner(plugin_resources::banner_png) {}

const banner_pixels* ControlPanelBanner::pixels() {
    if (state_ == decode_state::not_tried) {
        // Marked first: a failure below is reported this once; later draws leave the strip empty.
        state_ = decode_state::failed;
        if (decode(png_, pixels_))
            state_ = decode_state::decoded;
        else
            // A strip without its picture is no reason to stop the user with a popup.
            OutputDebugStringA(qssdk::format_string("%s: unable to decode the controls-panel banner; the strip "
                                                    "stays empty\n",
                                                    product::displayName)
                                   .c_str());
    }
    return state_ == decode_state::decoded ? &pixels_ : nullptr;
}

void ControlPanelBanner::handleEvent(command_context& context) {
    if (!context.extra) return;
    PF_EventExtra& event = *static_cast<PF_EventExtra*>(context.extra);
    const bool isBanner = isBannerControl(event);
    switch (event.e_type) {
        case PF_Event_DO_CLICK: click(event, isBanner); break;
        case PF_Event_DRAG:
            if (event.u.do_click.continue_refcon[0] == 1) {
                event.u.do_click.send_drag = false;
                event.u.do_click.continue_refcon[0] = 0;
            }
            event.evt_out_flags |= PF_EO_HANDLED_EVENT | PF_EO_ALWAYS_UPDATE;
            break;
        case PF_Event_DRAW: {
            SuiteHandler suites(context.in_data->pica_basicP);
            if (!(event.evt_in_flags & PF_EI_DONT_DRAW)) {
                DRAWBOT_DrawRef drawing = nullptr;
                if (const auto* ui = suites.get<PF_EffectCustomUISuite1>())
                    ui->PF_GetDrawingReference(event.contextH, &drawing);
                if (!drawing) {
                    event.evt_out_flags = PF_EO_HANDLED_EVENT;
                    return;
                }
                DRAWBOT_SupplierRef supplier = nullptr;
                DRAWBOT_SurfaceRef surface = nullptr;
                if (const auto* drawbot = suites.get<DRAWBOT_DrawbotSuite1>()) {
                    drawbot->GetSupplier(drawing, &supplier);
                    drawbot->GetSurface(drawing, &surface);
                }
                if (isBanner && supplier && surface)
                    drawBanner(suites, supplier, surface, event.effect_win.current_frame);
            }
            event.evt_out_flags |= PF_EO_HANDLED_EVENT;
            break;
        }
        case PF_Event_ADJUST_CURSOR: adjustCursor(event, isBanner); break;
        default: break;
    }
}

void ControlPanelBanner::click(PF_EventExtra& event, bool isBanner) {
    PF_DoClickEventInfo& click = event.u.do_click;
    // A click on the parameter's title row is only acknowledged.
    if (click.screen_point.v > event.effect_win.param_title_frame.bottom) {
        if (isBanner && inHotRect(click.screen_point, event.effect_win.current_frame))
            qssdk::shell_open(productPageUrl(productVersionText()));
        click.send_drag = true;
        click.continue_refcon[0] = 1;
    }
    event.evt_out_flags |= PF_EO_HANDLED_EVENT;
}

void ControlPanelBanner::drawBanner(SuiteHandler& suites, DRAWBOT_SupplierRef supplier, DRAWBOT_SurfaceRef surface,
                                    const PF_LRect& frame) {
    const banner_pixels* banner = pixels();
    if (!banner) return;
    const size_t frameBytes = size_t(banner->frameWidth) * size_t(banner->frameHeight) * 4;
    DRAWBOT_ImageRef& image = linkHovered_ ? hoverImage_ : normalImage_;
    const unsigned char* first = banner->bytes.data() + (linkHovered_ ? frameBytes : 0);
    if (!image) {
        if (const auto* supplierSuite = suites.get<DRAWBOT_SupplierSuite1>())
            supplierSuite->NewImageFromBuffer(supplier, banner->frameWidth, banner->frameHeight,
                                              banner->frameWidth * 4, bannerLayout, first, &image);
    }
    if (!image) return;
    if (const auto* surfaceSuite = suites.get<DRAWBOT_SurfaceSuite1>()) {
        const DRAWBOT_PointF32 origin{static_cast<float>(frame.left), static_cast<float>(frame.top)};
        surfaceSuite->DrawImage(surface, image, &origin, 1.0f);
    }
}

void ControlPanelBanner::adjustCursor(PF_EventExtra& event, bool isBanner) {
    PF_AdjustCursorEventInfo& cursor = event.u.adjust_cursor;
    linkHovered_ = isBanner && inHotRect(cursor.screen_point, event.effect_win.current_frame);
    // The hand only over the link itself: another control's area never shows it.
    cursor.set_cursor = linkHovered_ && event.effect_win.area == PF_EA_CONTROL ? PF_Cursor_FINGER_POINTER
                                                                               : PF_Cursor_ARROW;
    event.evt_out_flags |= PF_EO_HANDLED_EVENT;
}

void ControlPanelBanner::releaseHostImages(SuiteHandler& suites) {
    for (DRAWBOT_ImageRef* image : {&normalImage_, &hoverImage_}) {
        if (!*image) continue;
        if (const auto* supplierSuite = suites.get<DRAWBOT_SupplierSuite1>()) supplierSuite->ReleaseObject(reinterpret_cast<DRAWBOT_ObjectRef>(*image));
        *image = nullptr;
    }
}

// Helpers of the style-table tests: expected values written as the readers take them, and the platform's
// image codec for checking embedded images.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

#include "image_data.h"
#include "pair_packing.h"
#include "style_value.h"

namespace ui_test {

using namespace qssdk::ui;

constexpr color rgb(float r, float g, float b) { return {r, g, b, 1.0f}; }
inline style_value colour(const color& c) { return style_value(c); }
inline style_value code(int32_t v) { return style_value(static_cast<uint32_t>(v)); }
inline style_value real(float v) { return style_value(std::bit_cast<uint32_t>(v)); }
inline style_value two(int32_t a, int32_t b) { return style_value::from_pair(pack_pair(a, b)); }
inline style_value flag(uint8_t v) { return style_value(v); }
inline style_value text(std::string_view t) { return style_value::from_text(t); }

struct decoded_image {
    GUID format{};
    UINT width = 0, height = 0;
};

// Decodes the whole first frame of an encoded image, as the kit's images do; all zero when it fails.
// The caller has initialised COM.
inline decoded_image decode_image(const image_data& image) {
    using Microsoft::WRL::ComPtr;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    decoded_image d;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(image.bytes), static_cast<DWORD>(image.size))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder)) ||
        FAILED(decoder->GetContainerFormat(&d.format)) || FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(frame->GetSize(&d.width, &d.height)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return {};
    std::vector<BYTE> pixels(size_t{d.width} * d.height * 4);
    if (FAILED(converter->CopyPixels(nullptr, d.width * 4, static_cast<UINT>(pixels.size()), pixels.data()))) return {};
    return d;
}

// Tests that decode images: COM for the test's thread, in the mode the kit's images use.
class com_test : public testing::Test {
protected:
    void SetUp() override {
        com_ready_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        ASSERT_TRUE(com_ready_);
    }
    void TearDown() override {
        if (com_ready_) CoUninitialize();
    }

private:
    bool com_ready_ = false;
};

}  // namespace ui_test

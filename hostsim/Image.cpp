#include "Image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include <windows.h>
#include <wincodec.h>

#include "utf.h"

namespace hostsim {

namespace {

// Releases a COM interface at scope end.
template <class T> struct com_ptr {
    T* p = nullptr;
    ~com_ptr() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

struct com_scope {
    HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ~com_scope() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
};

void check(HRESULT result, const char* step, const std::wstring& path) {
    if (FAILED(result))
        throw std::runtime_error(std::string(step) + " " + qssdk::utf16_to_utf8(path) + " failed (0x" +
                                 [&] {
                                     char hex[16];
                                     std::snprintf(hex, sizeof hex, "%08lx", static_cast<unsigned long>(result));
                                     return std::string(hex);
                                 }() +
                                 ")");
}

bool endsWith(const std::wstring& text, const std::wstring& tail) {
    if (tail.size() > text.size()) return false;
    return std::equal(tail.rbegin(), tail.rend(), text.rbegin(),
                      [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
}

float clamp01(float v) { return std::min(std::max(v, 0.0f), 1.0f); }

}  // namespace

Image::Image(int width, int height, rgba fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Image Image::load(const std::wstring& path) {
    com_scope com;
    com_ptr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.out())),
          "making the imaging factory for", path);
    com_ptr<IWICBitmapDecoder> decoder;
    check(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.out()),
          "opening", path);
    com_ptr<IWICBitmapFrameDecode> frame;
    check(decoder->GetFrame(0, frame.out()), "decoding", path);
    com_ptr<IWICFormatConverter> converter;
    check(factory->CreateFormatConverter(converter.out()), "converting", path);
    check(converter->Initialize(frame.p, GUID_WICPixelFormat64bppRGBA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "converting", path);
    UINT width = 0, height = 0;
    check(converter->GetSize(&width, &height), "measuring", path);
    std::vector<uint16_t> raw(static_cast<size_t>(width) * height * 4);
    check(converter->CopyPixels(nullptr, width * 8, static_cast<UINT>(raw.size() * 2),
                                reinterpret_cast<BYTE*>(raw.data())),
          "reading", path);
    Image image(static_cast<int>(width), static_cast<int>(height));
    for (size_t i = 0; i < image.pixels_.size(); ++i) {
        const float a = raw[4 * i + 3] / 65535.0f;
        image.pixels_[i] = {raw[4 * i] / 65535.0f * a, raw[4 * i + 1] / 65535.0f * a, raw[4 * i + 2] / 65535.0f * a, a};
    }
    return image;
}

void Image::save(const std::wstring& path, int bits) const {
    if (endsWith(path, L".pfm")) {
        // Float map: RGB only, rows bottom to top, little-endian; colour un-premultiplied like the PNG.
        std::FILE* file = _wfopen(path.c_str(), L"wb");
        if (!file) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
        std::fprintf(file, "PF\n%d %d\n-1.0\n", width_, height_);
        for (int y = height_ - 1; y >= 0; --y)
            for (int x = 0; x < width_; ++x) {
                const rgba& p = at(x, y);
                const float scale = p.a > 0 ? 1.0f / p.a : 0.0f;
                const float rgb[3] = {p.r * scale, p.g * scale, p.b * scale};
                std::fwrite(rgb, sizeof rgb, 1, file);
            }
        const bool ok = std::fclose(file) == 0;
        if (!ok) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
        return;
    }
    com_scope com;
    com_ptr<IWICImagingFactory> factory;
    check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.out())),
          "making the imaging factory for", path);
    com_ptr<IWICStream> stream;
    check(factory->CreateStream(stream.out()), "writing", path);
    check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "creating", path);
    com_ptr<IWICBitmapEncoder> encoder;
    check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()), "encoding", path);
    check(encoder->Initialize(stream.p, WICBitmapEncoderNoCache), "encoding", path);
    com_ptr<IWICBitmapFrameEncode> frame;
    check(encoder->CreateNewFrame(frame.out(), nullptr), "encoding", path);
    check(frame->Initialize(nullptr), "encoding", path);
    check(frame->SetSize(static_cast<UINT>(width_), static_cast<UINT>(height_)), "encoding", path);
    WICPixelFormatGUID format = bits == 16 ? GUID_WICPixelFormat64bppRGBA : GUID_WICPixelFormat32bppRGBA;
    check(frame->SetPixelFormat(&format), "encoding", path);
    const float maxValue = bits == 16 ? 65535.0f : 255.0f;
    auto channel = [&](float premultiplied, float a) {
        return static_cast<uint32_t>(clamp01(a > 0 ? premultiplied / a : 0.0f) * maxValue + 0.5f);
    };
    const size_t count = static_cast<size_t>(width_) * height_;
    if (bits == 16) {
        std::vector<uint16_t> raw(count * 4);
        for (size_t i = 0; i < count; ++i) {
            const rgba& p = pixels_[i];
            raw[4 * i] = static_cast<uint16_t>(channel(p.r, p.a));
            raw[4 * i + 1] = static_cast<uint16_t>(channel(p.g, p.a));
            raw[4 * i + 2] = static_cast<uint16_t>(channel(p.b, p.a));
            raw[4 * i + 3] = static_cast<uint16_t>(clamp01(p.a) * maxValue + 0.5f);
        }
        check(frame->WritePixels(static_cast<UINT>(height_), static_cast<UINT>(width_) * 8,
                                 static_cast<UINT>(raw.size() * 2), reinterpret_cast<BYTE*>(raw.data())),
              "encoding", path);
    } else {
        std::vector<uint8_t> raw(count * 4);
        for (size_t i = 0; i < count; ++i) {
            const rgba& p = pixels_[i];
            raw[4 * i] = static_cast<uint8_t>(channel(p.r, p.a));
            raw[4 * i + 1] = static_cast<uint8_t>(channel(p.g, p.a));
            raw[4 * i + 2] = static_cast<uint8_t>(channel(p.b, p.a));
            raw[4 * i + 3] = static_cast<uint8_t>(clamp01(p.a) * maxValue + 0.5f);
        }
        check(frame->WritePixels(static_cast<UINT>(height_), static_cast<UINT>(width_) * 4,
                                 static_cast<UINT>(raw.size()), raw.data()),
              "encoding", path);
    }
    check(frame->Commit(), "encoding", path);
    check(encoder->Commit(), "encoding", path);
}

}  // namespace hostsim

#include "Image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include <windows.h>
#include <wincodec.h>

#include "PngFile.h"
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

// The reason in words: the imaging component's own codes first, which the system's message table may not
// hold, then the system's text.
std::string reason(HRESULT result) {
    switch (result) {
        case WINCODEC_ERR_COMPONENTNOTFOUND:
        case WINCODEC_ERR_UNKNOWNIMAGEFORMAT: return "it is not a picture of a kind this host reads (PNG, JPEG)";
        case WINCODEC_ERR_BADHEADER:
        case WINCODEC_ERR_BADIMAGE:
        case WINCODEC_ERR_BADSTREAMDATA:
        case WINCODEC_ERR_STREAMREAD:
        case WINCODEC_ERR_STREAMNOTAVAILABLE: return "the picture in it is damaged or cut short";
        case WINCODEC_ERR_FRAMEMISSING: return "it holds no picture";
        case WINCODEC_ERR_IMAGESIZEOUTOFRANGE:
        case E_OUTOFMEMORY: return "the picture is too large for the memory there is";
        default: break;
    }
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                        nullptr);
    std::wstring words(text ? text : L"", length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.' ||
                              words.back() == L' '))
        words.pop_back();
    return words.empty() ? "an unknown error" : qssdk::utf16_to_utf8(words);
}

void check(HRESULT result, const char* step, const std::wstring& path) {
    if (FAILED(result)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08lx", static_cast<unsigned long>(result));
        throw std::runtime_error(std::string(step) + " " + qssdk::utf16_to_utf8(path) + " failed: " + reason(result) +
                                 " (0x" + hex + ")");
    }
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
    UINT width = 0, height = 0;
    check(frame->GetSize(&width, &height), "measuring", path);
    const size_t count = static_cast<size_t>(width) * height;
    // 16-bit pictures are read as they are; others through the converter (Wine's makes only 8-bit formats).
    std::vector<float> channels(count * 4);  // red, green, blue, alpha, not premultiplied
    WICPixelFormatGUID format{};
    check(frame->GetPixelFormat(&format), "decoding", path);
    if (IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA)) {
        std::vector<uint16_t> raw(count * 4);
        check(frame->CopyPixels(nullptr, width * 8, static_cast<UINT>(raw.size() * 2),
                                reinterpret_cast<BYTE*>(raw.data())),
              "reading", path);
        for (size_t i = 0; i < raw.size(); ++i) channels[i] = raw[i] / 65535.0f;
    } else {
        com_ptr<IWICFormatConverter> eightBits;
        check(factory->CreateFormatConverter(eightBits.out()), "converting", path);
        check(eightBits->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                    WICBitmapPaletteTypeCustom),
              "converting", path);
        std::vector<uint8_t> raw(count * 4);
        check(eightBits->CopyPixels(nullptr, width * 4, static_cast<UINT>(raw.size()), raw.data()), "reading", path);
        for (size_t i = 0; i < count; ++i) {
            channels[4 * i] = raw[4 * i + 2] / 255.0f;
            channels[4 * i + 1] = raw[4 * i + 1] / 255.0f;
            channels[4 * i + 2] = raw[4 * i] / 255.0f;
            channels[4 * i + 3] = raw[4 * i + 3] / 255.0f;
        }
    }
    Image image(static_cast<int>(width), static_cast<int>(height));
    for (size_t i = 0; i < count; ++i) {
        const float* c = &channels[4 * i];
        image.pixels_[i] = {c[0] * c[3], c[1] * c[3], c[2] * c[3], c[3]};
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
    const int maxValue = bits == 16 ? 65535 : 255;
    auto quantised = [&](float v) { return static_cast<uint16_t>(clamp01(v) * maxValue + 0.5f); };
    std::vector<uint16_t> samples;
    samples.reserve(pixels_.size() * 4);
    for (const rgba& p : pixels_) {
        const float scale = p.a > 0 ? 1.0f / p.a : 0.0f;  // PNG colour is not premultiplied
        for (float v : {p.r * scale, p.g * scale, p.b * scale, p.a}) samples.push_back(quantised(v));
    }
    const std::vector<uint8_t> png = encodePng(width_, height_, bits == 16 ? 16 : 8, samples);
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
}

}  // namespace hostsim

#include "Image.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include <windows.h>
#include <wincodec.h>
#include <zlib.h>

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
    UINT width = 0, height = 0;
    check(frame->GetSize(&width, &height), "measuring", path);
    Image image(static_cast<int>(width), static_cast<int>(height));
    const size_t count = static_cast<size_t>(width) * height;
    auto store = [&](size_t i, float r, float g, float b, float a) { image.pixels_[i] = {r * a, g * a, b * a, a}; };

    WICPixelFormatGUID format{};
    check(frame->GetPixelFormat(&format), "decoding", path);
    if (IsEqualGUID(format, GUID_WICPixelFormat64bppRGBA)) {
        // 16-bit pictures are read as they are: the converter here only makes 8-bit formats.
        std::vector<uint16_t> raw(count * 4);
        check(frame->CopyPixels(nullptr, width * 8, static_cast<UINT>(raw.size() * 2),
                                reinterpret_cast<BYTE*>(raw.data())),
              "reading", path);
        for (size_t i = 0; i < count; ++i)
            store(i, raw[4 * i] / 65535.0f, raw[4 * i + 1] / 65535.0f, raw[4 * i + 2] / 65535.0f,
                  raw[4 * i + 3] / 65535.0f);
        return image;
    }
    com_ptr<IWICFormatConverter> converter;
    check(factory->CreateFormatConverter(converter.out()), "converting", path);
    check(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          "converting", path);
    std::vector<uint8_t> raw(count * 4);
    check(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(raw.size()), raw.data()), "reading", path);
    for (size_t i = 0; i < count; ++i)
        store(i, raw[4 * i + 2] / 255.0f, raw[4 * i + 1] / 255.0f, raw[4 * i] / 255.0f, raw[4 * i + 3] / 255.0f);
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
    // PNG written here rather than through the imaging component, whose 16-bit encoding is unreliable.
    const int bytesPerChannel = bits == 16 ? 2 : 1;
    const float maxValue = bits == 16 ? 65535.0f : 255.0f;
    const size_t rowBytes = 1 + static_cast<size_t>(width_) * 4 * bytesPerChannel;
    std::vector<uint8_t> rows(rowBytes * height_);
    for (int y = 0; y < height_; ++y) {
        uint8_t* out = rows.data() + rowBytes * y;
        *out++ = 0;  // no filter
        for (int x = 0; x < width_; ++x) {
            const rgba& p = at(x, y);
            const float scale = p.a > 0 ? 1.0f / p.a : 0.0f;  // straight colour, as PNG keeps it
            const float values[4] = {p.r * scale, p.g * scale, p.b * scale, p.a};
            for (float v : values) {
                const auto q = static_cast<uint32_t>(clamp01(v) * maxValue + 0.5f);
                if (bytesPerChannel == 2) *out++ = static_cast<uint8_t>(q >> 8);
                *out++ = static_cast<uint8_t>(q);
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 6) != Z_OK)
        throw std::runtime_error("cannot compress " + qssdk::utf16_to_utf8(path));
    packed.resize(packedSize);

    std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        put32(file, static_cast<uint32_t>(data.size()));
        const size_t start = file.size();
        file.insert(file.end(), type, type + 4);
        file.insert(file.end(), data.begin(), data.end());
        put32(file, static_cast<uint32_t>(crc32(0, file.data() + start, static_cast<uInt>(file.size() - start))));
    };
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(width_));
    put32(header, static_cast<uint32_t>(height_));
    header.insert(header.end(), {static_cast<uint8_t>(bits == 16 ? 16 : 8), 6, 0, 0, 0});  // RGBA
    chunk("IHDR", header);
    chunk("IDAT", packed);
    chunk("IEND", {});

    std::FILE* out = _wfopen(path.c_str(), L"wb");
    const bool written = out && std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (out && std::fclose(out) != 0) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
    if (!written) throw std::runtime_error("cannot write " + qssdk::utf16_to_utf8(path));
}

}  // namespace hostsim

#include "tests/e2e/Screenshot.h"

#include "platform/UniqueHandle.h"
#include "tests/e2e/Remote.h"

#include <wincodec.h>

#include <unordered_set>
#include <utility>
#include <vector>

namespace {

template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (pointer_)
            pointer_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* operator->() const { return pointer_; }
    Interface* Get() const { return pointer_; }
    Interface** Out() { return &pointer_; }

private:
    Interface* pointer_ = nullptr;
};

class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~Selection() { ::SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

void Check(HRESULT result, const char* step)
{
    if (FAILED(result)) {
        char text[32];
        wsprintfA(text, "0x%08lx", static_cast<unsigned long>(result));
        throw Failure(std::string("saving the picture failed at ") + step + " (" + text + ")");
    }
}

// Rows of 24-bit pixels, bottom-up as GDI lays them out, each padded to
// four bytes.
struct Pixels {
    int width = 0;
    int height = 0;
    UINT stride = 0;
    std::vector<BYTE> bytes;
};

Pixels CaptureScreen(const RECT& area)
{
    Pixels pixels;
    pixels.width = area.right - area.left;
    pixels.height = area.bottom - area.top;
    if (pixels.width <= 0 || pixels.height <= 0)
        throw Failure("the window to picture has no area");
    const platform::ScreenDc screen(::GetDC(nullptr));
    const platform::MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    const platform::Bitmap bitmap(::CreateCompatibleBitmap(screen.Get(), pixels.width, pixels.height));
    if (!screen.Get() || !memory.Get() || !bitmap)
        throw Failure("no device context or bitmap for the picture");
    {
        const Selection selected(memory.Get(), bitmap.Get());
        if (!::BitBlt(memory.Get(), 0, 0, pixels.width, pixels.height, screen.Get(), area.left, area.top,
                      SRCCOPY | CAPTUREBLT))
            throw Failure("copying the screen failed");
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    // Negative: top row first, as the encoder expects.
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.stride = static_cast<UINT>((pixels.width * 3 + 3) & ~3);
    pixels.bytes.resize(static_cast<std::size_t>(pixels.stride) * static_cast<std::size_t>(pixels.height));
    if (::GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(pixels.height), pixels.bytes.data(), &info,
                    DIB_RGB_COLORS) != pixels.height)
        throw Failure("reading the copied screen failed");
    return pixels;
}

std::size_t DistinctColours(const Pixels& pixels)
{
    std::unordered_set<std::uint32_t> colours;
    for (int y = 0; y < pixels.height; ++y) {
        const BYTE* row = pixels.bytes.data() + static_cast<std::size_t>(y) * pixels.stride;
        for (int x = 0; x < pixels.width; ++x)
            colours.insert(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
    }
    return colours.size();
}

void WritePng(const Pixels& pixels, const std::wstring& path)
{
    const ComApartment apartment;
    ComPtr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                             reinterpret_cast<void**>(factory.Out())),
          "the imaging factory");
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Out()), "the stream");
    Check(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), "opening the file");
    ComPtr<IWICBitmapEncoder> encoder;
    Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out()), "the PNG encoder");
    Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "starting the encoder");
    ComPtr<IWICBitmapFrameEncode> frame;
    Check(encoder->CreateNewFrame(frame.Out(), nullptr), "the frame");
    Check(frame->Initialize(nullptr), "starting the frame");
    Check(frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height)), "the size");
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    Check(frame->SetPixelFormat(&format), "the pixel format");
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        throw Failure("the PNG encoder does not take 24-bit pixels");
    Check(frame->WritePixels(static_cast<UINT>(pixels.height), pixels.stride, static_cast<UINT>(pixels.bytes.size()),
                             const_cast<BYTE*>(pixels.bytes.data())),
          "the pixels");
    Check(frame->Commit(), "finishing the frame");
    Check(encoder->Commit(), "finishing the file");
}

} // namespace

std::size_t SaveWindowPicture(HWND window, const std::wstring& path)
{
    RECT area{};
    if (!::GetWindowRect(window, &area))
        throw Failure("the window to picture is gone");
    const Pixels pixels = CaptureScreen(area);
    WritePng(pixels, path);
    return DistinctColours(pixels);
}

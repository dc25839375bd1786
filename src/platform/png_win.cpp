#include "platform/png_win.h"

#include <wincodec.h>

#include "platform/com_win.h"

namespace plumbo {

namespace {

HRESULT Encode(int width, int height, size_t stride, std::span<const uint8_t> pixels, double dpiX, double dpiY,
               IStream* stream) {
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.OutVoid());
    if (FAILED(hr)) return hr;
    ComRef<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream, WICBitmapEncoderNoCache))) return hr;
    ComRef<IWICBitmapFrameEncode> frame;
    if (FAILED(hr = encoder->CreateNewFrame(frame.Out(), nullptr))) return hr;
    if (FAILED(hr = frame->Initialize(nullptr))) return hr;
    if (FAILED(hr = frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) return hr;
    if (FAILED(hr = frame->SetResolution(dpiX, dpiY))) return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
    // The PNG encoder takes 24-bit BGR as it is; another answer would need a conversion.
    if (format != GUID_WICPixelFormat24bppBGR) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(hr = frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride),
                                       static_cast<UINT>(pixels.size()), const_cast<BYTE*>(pixels.data()))))
        return hr;
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}

}  // namespace

HRESULT EncodePng(int width, int height, size_t stride, std::span<const uint8_t> pixels, double dpiX, double dpiY,
                  std::vector<uint8_t>& file) {
    file.clear();
    if (width <= 0 || height <= 0 || pixels.size() < stride * static_cast<size_t>(height) || pixels.size() > MAXUINT)
        return E_INVALIDARG;
    // The factory works in either model; a thread without COM gets the single-threaded one.
    ComScope com(COINIT_APARTMENTTHREADED);
    ComRef<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = Encode(width, height, stride, pixels, dpiX, dpiY, stream.Get()))) return hr;
    HGLOBAL memory = nullptr;
    if (FAILED(hr = GetHGlobalFromStream(stream.Get(), &memory))) return hr;
    STATSTG stat{};
    if (FAILED(hr = stream->Stat(&stat, STATFLAG_NONAME))) return hr;
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
    if (!bytes) return E_OUTOFMEMORY;
    file.assign(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return S_OK;
}

}  // namespace plumbo

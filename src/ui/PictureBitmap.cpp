#include "ui/PictureBitmap.h"

#include <objidl.h>

#include <cstring>

#include "system/SystemLibrary.h"

namespace vek {
namespace {

// The few functions of the GDI+ flat API that are needed, called through pointers looked up at
// run time so that setup.exe does not import gdiplus.dll.
using TGpStatus = int;
using TGpImage = void;
using TGpGraphics = void;
struct TGdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
constexpr TGpStatus kGpOk = 0;
constexpr int kImageTypeMetafile = 2;
constexpr int kInterpolationModeHighQualityBicubic = 7;

struct TGdiplus {
  TGpStatus(WINAPI* Startup)(ULONG_PTR*, const TGdiplusStartupInput*, void*) = nullptr;
  void(WINAPI* Shutdown)(ULONG_PTR) = nullptr;
  TGpStatus(WINAPI* LoadImageFromStream)(IStream*, TGpImage**) = nullptr;
  TGpStatus(WINAPI* DisposeImage)(TGpImage*) = nullptr;
  TGpStatus(WINAPI* GetImageType)(TGpImage*, int*) = nullptr;
  TGpStatus(WINAPI* GetImageWidth)(TGpImage*, UINT*) = nullptr;
  TGpStatus(WINAPI* GetImageHeight)(TGpImage*, UINT*) = nullptr;
  TGpStatus(WINAPI* CreateFromHDC)(HDC, TGpGraphics**) = nullptr;
  TGpStatus(WINAPI* DeleteGraphics)(TGpGraphics*) = nullptr;
  TGpStatus(WINAPI* SetInterpolationMode)(TGpGraphics*, int) = nullptr;
  TGpStatus(WINAPI* DrawImageRectI)(TGpGraphics*, TGpImage*, INT, INT, INT, INT) = nullptr;
};

template <typename T>
bool Resolve(HMODULE aLibrary, const char* aName, T& aFunction) {
  aFunction = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(aLibrary, aName)));
  return aFunction != nullptr;
}

bool ResolveAll(HMODULE aLibrary, TGdiplus& g) {
  return Resolve(aLibrary, "GdiplusStartup", g.Startup) && Resolve(aLibrary, "GdiplusShutdown", g.Shutdown) &&
         Resolve(aLibrary, "GdipLoadImageFromStream", g.LoadImageFromStream) &&
         Resolve(aLibrary, "GdipDisposeImage", g.DisposeImage) && Resolve(aLibrary, "GdipGetImageType", g.GetImageType) &&
         Resolve(aLibrary, "GdipGetImageWidth", g.GetImageWidth) &&
         Resolve(aLibrary, "GdipGetImageHeight", g.GetImageHeight) &&
         Resolve(aLibrary, "GdipCreateFromHDC", g.CreateFromHDC) &&
         Resolve(aLibrary, "GdipDeleteGraphics", g.DeleteGraphics) &&
         Resolve(aLibrary, "GdipSetInterpolationMode", g.SetInterpolationMode) &&
         Resolve(aLibrary, "GdipDrawImageRectI", g.DrawImageRectI);
}

// GDI+ for the length of one rendering: the library, its functions and a started session.
// The session ends before the library is freed (members are destroyed in reverse order).
class TGdiplusSession {
 public:
  TGdiplusSession() {
    fLibrary.reset(LoadSystemLibrary(L"gdiplus.dll"));
    if (!fLibrary || !ResolveAll(fLibrary.get(), fApi)) return;
    const TGdiplusStartupInput input;
    fStarted = fApi.Startup(&fToken, &input, nullptr) == kGpOk;
  }
  ~TGdiplusSession() {
    if (fStarted) fApi.Shutdown(fToken);
  }
  TGdiplusSession(const TGdiplusSession&) = delete;
  TGdiplusSession& operator=(const TGdiplusSession&) = delete;
  bool Started() const { return fStarted; }
  const TGdiplus& Api() const { return fApi; }

 private:
  UniqueHModule fLibrary;
  TGdiplus fApi;
  ULONG_PTR fToken = 0;
  bool fStarted = false;
};

template <typename T>
struct TReleaseCom {
  static void Release(T* aObject) noexcept { aObject->Release(); }
};
using UniqueStream = UniqueResource<IStream*, TReleaseCom<IStream>::Release>;

// A stream over a copy of the bytes; the stream frees the copy.
UniqueStream MemoryStream(const std::string& aBytes) {
  const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, aBytes.size());
  if (!memory) return {};
  void* data = ::GlobalLock(memory);
  if (!data) {
    ::GlobalFree(memory);
    return {};
  }
  std::memcpy(data, aBytes.data(), aBytes.size());
  ::GlobalUnlock(memory);
  UniqueStream stream;
  if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.put()))) {
    ::GlobalFree(memory);
    return {};
  }
  return stream;
}

// An image of the session, disposed with it.
class TGpImageHolder {
 public:
  explicit TGpImageHolder(const TGdiplus& aApi) : fApi(aApi) {}
  ~TGpImageHolder() {
    if (fImage) fApi.DisposeImage(fImage);
  }
  TGpImageHolder(const TGpImageHolder&) = delete;
  TGpImageHolder& operator=(const TGpImageHolder&) = delete;
  TGpImage** put() { return &fImage; }
  TGpImage* get() const { return fImage; }

 private:
  const TGdiplus& fApi;
  TGpImage* fImage = nullptr;
};

// A 24-bit bitmap of aArea's size filled with aBackground, selected into a memory DC while it
// is drawn on. No alpha channel, so the static control shows this very bitmap instead of a
// copy of its own.
class TCanvas {
 public:
  TCanvas(TPictureSize aArea, COLORREF aBackground) {
    fDc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = aArea.Width;
    info.bmiHeader.biHeight = aArea.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fBitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!fDc || !fBitmap) return;
    fOld = ::SelectObject(fDc, fBitmap.get());
    const RECT all{0, 0, aArea.Width, aArea.Height};
    const HBRUSH brush = ::CreateSolidBrush(aBackground);
    ::FillRect(fDc, &all, brush);
    ::DeleteObject(brush);
  }
  ~TCanvas() {
    if (fOld) ::SelectObject(fDc, fOld);
    if (fDc) ::DeleteDC(fDc);
  }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  HDC Dc() const { return fOld ? fDc : nullptr; }
  // The bitmap, no longer selected: the canvas cannot draw afterwards.
  UniqueHBitmap Take() {
    if (fOld) ::SelectObject(fDc, fOld);
    fOld = nullptr;
    return std::move(fBitmap);
  }

 private:
  HDC fDc = nullptr;
  HGDIOBJ fOld = nullptr;
  UniqueHBitmap fBitmap;
};

bool Draw(const TGdiplus& g, TGpImage* aImage, HDC aDc, const RECT& aAt) {
  TGpGraphics* graphics = nullptr;
  if (g.CreateFromHDC(aDc, &graphics) != kGpOk) return false;
  g.SetInterpolationMode(graphics, kInterpolationModeHighQualityBicubic);
  const bool drawn = g.DrawImageRectI(graphics, aImage, aAt.left, aAt.top, aAt.right - aAt.left,
                                      aAt.bottom - aAt.top) == kGpOk;
  g.DeleteGraphics(graphics);
  return drawn;
}

TPictureBitmap Failed(std::string aReason) { return {UniqueHBitmap(), {}, std::move(aReason)}; }

}  // namespace

TPictureBitmap RenderWelcomePicture(const TWelcomePicture& aPicture, TPictureSize aArea, UINT aDpi,
                                    COLORREF aBackground) {
  if (aArea.Width <= 0 || aArea.Height <= 0) return Failed("the picture area is empty");
  TGdiplusSession session;
  if (!session.Started()) return Failed("GDI+ is not available, error " + std::to_string(::GetLastError()));
  const TGdiplus& g = session.Api();
  const UniqueStream stream = MemoryStream(aPicture.Bytes);
  if (!stream) return Failed("no memory for the picture");
  TGpImageHolder image(g);
  if (g.LoadImageFromStream(stream.get(), image.put()) != kGpOk || !image.get()) {
    return Failed("the picture file cannot be read");
  }
  UINT width = 0;
  UINT height = 0;
  int type = 0;
  g.GetImageWidth(image.get(), &width);
  g.GetImageHeight(image.get(), &height);
  g.GetImageType(image.get(), &type);
  if (width == 0 || height == 0 || width > 0x7fff || height > 0x7fff) return Failed("the picture has no usable size");
  const TPictureSize shown = FitWelcomePicture({static_cast<int>(width), static_cast<int>(height)}, aArea, aDpi,
                                               type == kImageTypeMetafile);
  TCanvas canvas(aArea, aBackground);
  if (!canvas.Dc()) return Failed("no bitmap for the picture, error " + std::to_string(::GetLastError()));
  const int left = (aArea.Width - shown.Width) / 2;
  const int top = (aArea.Height - shown.Height) / 2;
  if (!Draw(g, image.get(), canvas.Dc(), {left, top, left + shown.Width, top + shown.Height})) {
    return Failed("the picture cannot be drawn");
  }
  return {canvas.Take(), shown, {}};
}

}  // namespace vek

#pragma once
// The welcome picture turned into a bitmap that a static control shows. The picture file (BMP,
// WMF/EMF, ICO, JPEG, GIF or PNG) is decoded by GDI+, which is loaded only for this: a run
// without a picture, and every silent run, never loads it.
#include <windows.h>

#include <string>

#include "script/WelcomePicture.h"
#include "system/UniqueResource.h"

namespace vek {

namespace detail {
inline void DeleteBitmapNoResult(HBITMAP aBitmap) noexcept { ::DeleteObject(aBitmap); }
}  // namespace detail
using UniqueHBitmap = UniqueResource<HBITMAP, detail::DeleteBitmapNoResult>;

struct TPictureBitmap {
  UniqueHBitmap Bitmap;  // null when the picture cannot be shown
  TPictureSize Shown;    // the picture's size inside the bitmap
  std::string Reason;    // why there is no bitmap, for the log
};

// A bitmap of aArea's size in aBackground's colour with the picture centred on it, sized by
// FitWelcomePicture for aDpi.
TPictureBitmap RenderWelcomePicture(const TWelcomePicture& aPicture, TPictureSize aArea, UINT aDpi,
                                    COLORREF aBackground);

}  // namespace vek

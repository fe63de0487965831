#include "dialog/win32/Artwork.h"

#include "dialog/win32/Module.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace penlark::win32 {
namespace {

// The pictures of a button, in the order of its picture list.
enum class ButtonState { Normal, Hover, Pressed, Disabled };
constexpr int kStatesPerButton = 4;

struct Raster {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // premultiplied 0xAARRGGBB, top row first

  std::uint32_t& At(int x, int y) { return pixels[std::size_t(y * width + x)]; }
};

struct ArtFile {
  const wchar_t* resource;
  int width;
  int height;
};

// The bare icons of changesImageList's buttons, in the order of their pictures, centred on the
// button when rendered.
constexpr std::array<ArtFile, 4> kChangesIcons{{
    {L"ART_RELOAD", 24, 24},
    {L"ART_UP_ONE_LEVEL", 24, 24},
    {L"ART_DELETE", 24, 24},
    {L"ART_CREATE_FOLDER", 24, 24},
}};
constexpr ArtFile kViewsIcon{L"ART_VIEWS", 35, 24};

// The edges of a raised or sunken button on the form's beige.
constexpr std::uint32_t kFrameLight = 0xFFFFFFFF;
constexpr std::uint32_t kFrameShadow = 0xFFACA899;

// A rendered file: rows of straight R, G, B, A bytes, premultiplied here.
Raster Load(const ArtFile& file) {
  Raster raster{file.width, file.height, {}};
  const HINSTANCE module = ThisModule();
  const HRSRC found = ::FindResourceW(module, file.resource, MAKEINTRESOURCEW(10));
  const std::size_t bytes = std::size_t(file.width) * std::size_t(file.height) * 4;
  if (found == nullptr || ::SizeofResource(module, found) != bytes) {
    return {};
  }
  const auto* data =
      static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, found)));
  raster.pixels.resize(bytes / 4);
  for (std::size_t i = 0; i < raster.pixels.size(); ++i) {
    const std::uint8_t* rgba = data + i * 4;
    const std::uint32_t alpha = rgba[3];
    const auto scale = [alpha](std::uint8_t channel) {
      return std::uint32_t(channel) * alpha / 255;
    };
    raster.pixels[i] = alpha << 24 | scale(rgba[0]) << 16 | scale(rgba[1]) << 8 | scale(rgba[2]);
  }
  return raster;
}

// A frame one pixel wide round the whole picture: topLeft on the top and left edges, bottomRight
// on the bottom and right ones.
void DrawFrame(Raster& raster, std::uint32_t topLeft, std::uint32_t bottomRight) {
  for (int x = 0; x < raster.width; ++x) {
    raster.At(x, 0) = topLeft;
    raster.At(x, raster.height - 1) = bottomRight;
  }
  for (int y = 0; y < raster.height; ++y) {
    raster.At(0, y) = y == raster.height - 1 ? bottomRight : topLeft;
    raster.At(raster.width - 1, y) = bottomRight;
  }
}

// Moves the drawing down and right by a pixel.
void Shift(Raster& raster) {
  for (int y = raster.height - 1; y >= 0; --y) {
    for (int x = raster.width - 1; x >= 0; --x) {
      raster.At(x, y) = x > 0 && y > 0 ? raster.At(x - 1, y - 1) : 0;
    }
  }
}

// Every pixel a grey of its own brightness, lifted towards white, keeping its coverage.
void Grey(Raster& raster) {
  constexpr std::uint32_t kDarkest = 120;
  constexpr std::uint32_t kLightest = 245;
  for (std::uint32_t& pixel : raster.pixels) {
    const std::uint32_t alpha = pixel >> 24;
    const std::uint32_t brightness =
        ((pixel >> 16 & 0xFF) * 11 + (pixel >> 8 & 0xFF) * 16 + (pixel & 0xFF) * 5) / 32;
    const std::uint32_t grey = (kDarkest * alpha + brightness * (kLightest - kDarkest)) / 255;
    pixel = alpha << 24 | grey << 16 | grey << 8 | grey;
  }
}

HBITMAP ToBitmap(const Raster& raster) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = raster.width;
  info.bmiHeader.biHeight = -raster.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    std::memcpy(bits, raster.pixels.data(), raster.pixels.size() * 4);
  }
  return bitmap;
}

// One picture of an image button: raised when hovered, sunken and moved when pressed, greyed when
// disabled.
HBITMAP DrawButton(const ArtFile& icon, ButtonState state) {
  Raster raster = Load(icon);
  if (raster.pixels.empty()) {
    return nullptr;
  }
  if (state == ButtonState::Hover) {
    DrawFrame(raster, kFrameLight, kFrameShadow);
  } else if (state == ButtonState::Pressed) {
    Shift(raster);
    DrawFrame(raster, kFrameShadow, kFrameLight);
  } else if (state == ButtonState::Disabled) {
    Grey(raster);
  }
  return ToBitmap(raster);
}

HBITMAP Draw(PictureList list, int picture) {
  if (list == PictureList::Props) {
    return picture >= 1 && picture <= 3 ? DrawButton(kViewsIcon, ButtonState(picture - 1))
                                        : nullptr;
  }
  if (picture < 1 || picture > kStatesPerButton * int(kChangesIcons.size())) {
    return nullptr;
  }
  const int index = picture - 1;
  return DrawButton(kChangesIcons[std::size_t(index / kStatesPerButton)],
                    ButtonState(index % kStatesPerButton));
}

std::mutex cacheMutex;

}  // namespace

HBITMAP ButtonPicture(PictureList list, int picture) {
  static std::map<std::pair<PictureList, int>, HBITMAP> cache;
  const std::lock_guard lock(cacheMutex);
  const auto [entry, added] = cache.try_emplace({list, picture}, nullptr);
  if (added) {
    entry->second = Draw(list, picture);
  }
  return entry->second;
}

HIMAGELIST ListIcons(int side) {
  static std::map<int, HIMAGELIST> cache;
  const std::lock_guard lock(cacheMutex);
  const auto [entry, added] = cache.try_emplace(side, nullptr);
  if (added) {
    const ArtFile document{side == 16 ? L"ART_DOCUMENT_16" : L"ART_DOCUMENT_32", side, side};
    const ArtFile folder{side == 16 ? L"ART_FOLDER_16" : L"ART_FOLDER_32", side, side};
    entry->second = ::ImageList_Create(side, side, ILC_COLOR32, 4, 0);
    for (const ArtFile& file : {document, folder, document, document}) {
      const HBITMAP bitmap = ToBitmap(Load(file));
      ::ImageList_Add(entry->second, bitmap, nullptr);
      ::DeleteObject(bitmap);
    }
  }
  return entry->second;
}

}  // namespace penlark::win32

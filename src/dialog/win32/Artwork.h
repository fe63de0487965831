#pragma once

#include "dialog/ControlTable.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

// The dialog's pictures, from the bitmaps rendered from the artwork's SVG files when the program
// is built and embedded in its resources. Pictures are premultiplied 32-bit bitmaps at their
// designed size, made on first use and kept for the life of the process. Pictures are numbered
// from 1, as in the Qt view's artwork; an unknown number gives nullptr.
namespace penlark::win32 {

// A picture of an image button's list: changesImageList has four pictures per button (normal,
// hover, pressed, disabled) for Reload, Up One Level, Delete and Create Folder (24 x 24);
// propsImageList the Views button's normal, hover and pressed pictures (35 x 24).
HBITMAP ButtonPicture(PictureList list, int picture);

// smallImageList (16) or largeImageList (32): a document, a folder, a document, a document, at
// the indexes of pictures 1 to 4.
HIMAGELIST ListIcons(int side);

}  // namespace penlark::win32

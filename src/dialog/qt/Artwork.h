#pragma once

#include <QIcon>
#include <QPixmap>

// The dialog's pictures, drawn from the SVG icons compiled into this library. Every picture is
// rendered at the device pixel ratio asked for, so that it stays crisp on high-density screens,
// and kept in the application's pixmap cache after its first use. Pictures are numbered from 1;
// an unknown number, or a device pixel ratio that is not a positive number, gives a null pixmap or
// icon. A QGuiApplication must exist, and the functions are called from its thread.
namespace penlark::qt {

// changesImageList: four pictures per button (normal, hover, pressed, disabled) for Reload (1-4),
// Up One Level (5-8), Delete (9-12) and Create Folder (13-16); logical size 24 x 24.
QPixmap ChangesImage(int picture, qreal devicePixelRatio);

// propsImageList: the Views button's normal, hover and pressed pictures (1-3); logical size
// 35 x 24.
QPixmap PropsImage(int picture, qreal devicePixelRatio);

// smallImageList and largeImageList together: 1 a document, 2 a folder, 3 and 4 a document. Each
// icon holds a 16 x 16 and a 32 x 32 drawing, at 1x, at 2x and at the application's device pixel
// ratio.
QIcon ListIcon(int picture);

}  // namespace penlark::qt

// Draws every picture of the dialog, at 1x and 2x, enlarged and at true size, on the form's colour
// into one PNG sheet: art-preview OUT.png
#include "dialog/qt/Artwork.h"

#include <cstdio>
#include <functional>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

using penlark::qt::ChangesImage;
using penlark::qt::ListIcon;
using penlark::qt::PropsImage;

const QColor kForm(236, 234, 217);
const QColor kInk(60, 60, 60);
constexpr int kMargin = 24;
constexpr int kGap = 16;
constexpr int kLabelHeight = 18;
// Enlarged pictures are about this high: a 1x picture is enlarged an even number of times, a 2x
// picture half as many, so both show at the same size with whole device pixels.
constexpr int kZoomedHeight = 144;

// A picture drawn for one device pixel ratio.
using Picture = std::function<QPixmap(qreal devicePixelRatio)>;

struct Cell {
  QString label;
  Picture picture;
};

// The sheet, filled from the top down.
class Sheet {
 public:
  explicit Sheet(QSize size) : image_(size, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(kForm);
    painter_.begin(&image_);
    painter_.setPen(kInk);
  }

  // One row of cells, each showing its picture enlarged at 1x and at 2x with the true-size
  // pictures below.
  void Row(const QList<Cell>& cells, QSize logical) {
    const int zoom = 2 * (kZoomedHeight / 2 / logical.height());
    const int zoomedWidth = logical.width() * zoom;
    const int zoomedHeight = logical.height() * zoom;
    int x = kMargin;
    for (const Cell& cell : cells) {
      painter_.drawText(x, y_ + kLabelHeight - 5, cell.label);
      const int top = y_ + kLabelHeight;
      DrawPixels(cell.picture(1.0), QRect(x, top, zoomedWidth, zoomedHeight));
      DrawPixels(cell.picture(2.0),
                 QRect(x + zoomedWidth + kGap / 2, top, zoomedWidth, zoomedHeight));
      const int trueTop = top + zoomedHeight + kGap / 2;
      DrawPixels(cell.picture(1.0), QRect(QPoint(x, trueTop), logical));
      DrawPixels(cell.picture(2.0),
                 QRect(QPoint(x + logical.width() + kGap / 2, trueTop), logical * 2));
      x += 2 * zoomedWidth + kGap / 2 + kGap * 2;
    }
    y_ += kLabelHeight + zoomedHeight + kGap / 2 + logical.height() * 2 + kGap;
  }

  void Heading(const QString& text) {
    QFont bold = painter_.font();
    bold.setBold(true);
    painter_.setFont(bold);
    painter_.drawText(kMargin, y_ + kLabelHeight - 5, text);
    painter_.setFont(QFont());
    y_ += kLabelHeight;
  }

  // Saves the part of the sheet filled so far.
  bool Save(const QString& file) {
    painter_.end();
    return image_.copy(0, 0, image_.width(), y_).save(file, "PNG");
  }

 private:
  // Draws the device pixels of a picture into target, without smoothing.
  void DrawPixels(const QPixmap& picture, const QRect& target) {
    QImage pixels = picture.toImage();
    pixels.setDevicePixelRatio(1.0);
    painter_.drawImage(target, pixels, pixels.rect());
  }

  QImage image_;
  QPainter painter_;
  int y_ = kMargin;
};

const char* const kButtons[] = {"Reload", "Up One Level", "Delete", "Create Folder"};
const char* const kStates[] = {"normal", "hover", "pressed", "disabled"};

QList<Cell> ChangesRow(int button) {
  QList<Cell> cells;
  for (int state = 0; state < 4; ++state) {
    const int picture = button * 4 + state + 1;
    cells.append({QStringLiteral("%1  %2 %3").arg(picture).arg(kButtons[button], kStates[state]),
                  [picture](qreal ratio) { return ChangesImage(picture, ratio); }});
  }
  return cells;
}

QList<Cell> PropsRow() {
  QList<Cell> cells;
  for (int picture = 1; picture <= 3; ++picture) {
    cells.append({QStringLiteral("%1  Views %2").arg(picture).arg(kStates[picture - 1]),
                  [picture](qreal ratio) { return PropsImage(picture, ratio); }});
  }
  return cells;
}

QList<Cell> ListRow(int side) {
  QList<Cell> cells;
  for (int picture = 1; picture <= 4; ++picture) {
    cells.append(
        {QStringLiteral("%1  %2 x %2").arg(picture).arg(side), [picture, side](qreal ratio) {
           return ListIcon(picture).pixmap(QSize(side, side), ratio);
         }});
  }
  return cells;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
    return 2;
  }
  Sheet sheet(QSize(1440, 2000));
  sheet.Heading(QStringLiteral("changesImageList (24 x 24): 1x, 2x, then true size"));
  for (int button = 0; button < 4; ++button) {
    sheet.Row(ChangesRow(button), QSize(24, 24));
  }
  sheet.Heading(QStringLiteral("propsImageList (35 x 24)"));
  sheet.Row(PropsRow(), QSize(35, 24));
  sheet.Heading(QStringLiteral("smallImageList and largeImageList"));
  sheet.Row(ListRow(16), QSize(16, 16));
  sheet.Row(ListRow(32), QSize(32, 32));
  if (!sheet.Save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <QImage>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

// The review sheet: every row laid out below the last, each picture drawn on the form's colour.
TEST(ArtPreview, DrawsEveryPictureOnOneSheet) {
  TempDir dir;
  const auto sheetFile = (dir / "sheet.png").string();
  EXPECT_EQ(RunProgram(ART_PREVIEW_PROGRAM, {sheetFile}).exitCode, 0);
  const QImage sheet(QString::fromStdString(sheetFile));
  ASSERT_EQ(sheet.size(), QSize(1440, 1684));
  const QColor form(236, 234, 217);
  EXPECT_EQ(sheet.pixelColor(0, 0), form);
  // The Reload button's first picture, enlarged six times, at the top left of the first row.
  QImage blank(144, 144, sheet.format());
  blank.fill(form);
  EXPECT_TRUE(sheet.copy(24, 60, 144, 144) != blank);

  const auto usage = RunProgram(ART_PREVIEW_PROGRAM, {});
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_THAT(usage.err, ::testing::HasSubstr("usage:"));
  const auto unwritable = (dir / "missing" / "sheet.png").string();
  const auto failed = RunProgram(ART_PREVIEW_PROGRAM, {unwritable});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_THAT(failed.err, ::testing::EndsWith("cannot write " + unwritable + "\n"));
}

}  // namespace
}  // namespace penlark::testing

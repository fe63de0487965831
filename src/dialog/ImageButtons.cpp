// The image buttons above the file list: their pictures at rest, under the pointer, pressed and
// disabled, and the pressed-button state.

#include "dialog/DialogContext.h"
#include "dialog/OpenDialog.h"

namespace penlark {
namespace {

// PressedButton codes.
constexpr std::int16_t kReloadCode = 1;
constexpr std::int16_t kUpOneLevelCode = 2;
constexpr std::int16_t kDeleteCode = 3;
constexpr std::int16_t kCreateFolderCode = 4;

}  // namespace

void OpenDialog::PressImageButton(ImageButton& button, std::int16_t code,
                                  const ButtonPictures& pictures) {
  button.Picture = pictures.Pressed;
  PressedButton = code;
}

void OpenDialog::HoverImageButton(ImageButton& button, std::int16_t code,
                                  const ButtonPictures& pictures, double x, double y) {
  if (!button.Position.Contains(x, y)) {
    NormalizeImages();
    return;
  }
  button.Picture = PressedButton == code ? pictures.Pressed : pictures.Hover;
}

void OpenDialog::ReloadImage_MouseDown(int, int, double, double) {
  PressImageButton(ReloadImage, kReloadCode, kReloadPictures);
}

void OpenDialog::ReloadImage_MouseMove(int, int, double x, double y) {
  HoverImageButton(ReloadImage, kReloadCode, kReloadPictures, x, y);
}

void OpenDialog::UpOneLevelImage_MouseDown(int, int, double, double) {
  PressImageButton(UpOneLevelImage, kUpOneLevelCode, kUpOneLevelPictures);
}

void OpenDialog::UpOneLevelImage_MouseMove(int, int, double x, double y) {
  HoverImageButton(UpOneLevelImage, kUpOneLevelCode, kUpOneLevelPictures, x, y);
}

void OpenDialog::DeleteImage_MouseDown(int, int, double, double) {
  PressImageButton(DeleteImage, kDeleteCode, kDeletePictures);
}

void OpenDialog::DeleteImage_MouseMove(int, int, double x, double y) {
  HoverImageButton(DeleteImage, kDeleteCode, kDeletePictures, x, y);
}

void OpenDialog::CreateFolderImage_MouseDown(int, int, double, double) {
  PressImageButton(CreateFolderImage, kCreateFolderCode, kCreateFolderPictures);
}

void OpenDialog::CreateFolderImage_MouseMove(int, int, double x, double y) {
  HoverImageButton(CreateFolderImage, kCreateFolderCode, kCreateFolderPictures, x, y);
}

void OpenDialog::SetUpOneLevel(bool enabled) {
  UpOneLevelImage.Picture = enabled ? kUpOneLevelPictures.Normal : kUpOneLevelPictures.Disabled;
  UpOneLevelImage.Enabled = enabled;
}

void OpenDialog::NormalizeImages() {
  ReloadImage.Picture = kReloadPictures.Normal;
  if (!ImageCombo.HasSelection()) {
    SetUpOneLevel(false);
    CreateFolderImage.Picture = kCreateFolderPictures.Disabled;
    CreateFolderImage.Enabled = false;
  } else {
    SetUpOneLevel(ImageCombo.SelectedText() != "/");
  }
  const bool listed = !context_.Server().FileNames().empty();
  DeleteImage.Picture = listed ? kDeletePictures.Normal : kDeletePictures.Disabled;
  DeleteImage.Enabled = listed;
  if (ImageCombo.HasSelection()) {
    CreateFolderImage.Picture = kCreateFolderPictures.Normal;
    CreateFolderImage.Enabled = true;
  }
  PropsImage.Picture = kViewsPictures.Normal;
}

}  // namespace penlark

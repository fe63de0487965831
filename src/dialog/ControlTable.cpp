#include "dialog/ControlTable.h"

namespace penlark {
namespace {

constexpr const char* kConnection = "ConnectionFrame";
constexpr const char* kOpenFile = "OpenFileFrame";

using D = OpenDialog;

const WidgetRow kWidgetRows[] = {
    {"ConnectionFrame", nullptr, FrameRow{&D::ConnectionFrame}},
    {"UrlDomainLabel", kConnection, LabelRow{&D::UrlDomainLabel, "UrlDomainCombo"}},
    {"UrlDomainCombo", kConnection, ServerComboRow{&D::UrlDomainCombo, "Server"}},
    {"UsernameLabel", kConnection, LabelRow{&D::UsernameLabel, "UsernameText"}},
    {"UsernameText", kConnection, TextRow{&D::UsernameText, "Username"}},
    {"PasswordLabel", kConnection, LabelRow{&D::PasswordLabel, "PasswordText"}},
    {"PasswordText", kConnection, TextRow{&D::PasswordText, "Password"}},
    {"SavePwdCheck", kConnection, CheckRow{&D::SavePwdCheck}},
    {"LogInButton", kConnection, ButtonRow{&D::LogInButton, &D::LogInButton_Click}},
    {"ConnectionText", kConnection, TextRow{&D::ConnectionText, "Connection"}},

    {"OpenFileFrame", nullptr, FrameRow{&D::OpenFileFrame}},
    {"LookInLabel", kOpenFile, LabelRow{&D::LookInLabel, "ImageCombo"}},
    {"ImageCombo", kOpenFile, FolderComboRow{&D::ImageCombo, "Look in folder"}},
    {"ReloadImage", kOpenFile,
     PictureRow{&D::ReloadImage, PictureList::Changes, &D::ReloadImage_MouseDown,
                &D::ReloadImage_MouseMove, &D::ReloadImage_MouseUp}},
    {"UpOneLevelImage", kOpenFile,
     PictureRow{&D::UpOneLevelImage, PictureList::Changes, &D::UpOneLevelImage_MouseDown,
                &D::UpOneLevelImage_MouseMove, &D::UpOneLevelImage_MouseUp}},
    {"DeleteImage", kOpenFile,
     PictureRow{&D::DeleteImage, PictureList::Changes, &D::DeleteImage_MouseDown,
                &D::DeleteImage_MouseMove, &D::DeleteImage_MouseUp}},
    {"CreateFolderImage", kOpenFile,
     PictureRow{&D::CreateFolderImage, PictureList::Changes, &D::CreateFolderImage_MouseDown,
                &D::CreateFolderImage_MouseMove, &D::CreateFolderImage_MouseUp}},
    {"PropsImage", kOpenFile,
     PictureRow{&D::PropsImage, PictureList::Props, &D::PropsImage_MouseDown,
                &D::PropsImage_MouseMove, nullptr}},
    {"LineImage", kOpenFile, LineRow{&D::LineImage}},
    {"ListView", kOpenFile, ListRow{&D::ListView}},
    {"FilenameLabel", kOpenFile, LabelRow{&D::FilenameLabel, "FilenameText"}},
    {"FilenameText", kOpenFile, TextRow{&D::FilenameText, "File name"}},

    {"OpenButton", nullptr, ButtonRow{&D::OpenButton, &D::OpenButton_Click}},
    {"Cancel", nullptr, ButtonRow{&D::Cancel, &D::Cancel_Click}},
};

const ViewMenuRow kViewMenuRows[] = {
    {"menuIcons", &D::menuIcons, &D::menuIcons_Click},
    {"menuSmallIcons", &D::menuSmallIcons, &D::menuSmallIcons_Click},
    {"menuList", &D::menuList, &D::menuList_Click},
    {"menuReport", &D::menuReport, &D::menuReport_Click},
};

}  // namespace

std::span<const WidgetRow> WidgetRows() {
  return kWidgetRows;
}

std::span<const ViewMenuRow> ViewMenuRows() {
  return kViewMenuRows;
}

ImageButtonEvents ForwardMouseEvents(const PictureRow& row, const Dispatcher& dispatch) {
  const auto forward = [&dispatch](MouseHandler handler) -> MouseEventHandler {
    if (handler == nullptr) {
      return [](const MouseEventArgs&) {};
    }
    return [dispatch, handler](const MouseEventArgs& args) {
      dispatch([handler, args](OpenDialog& dialog) {
        (dialog.*handler)(args.button, args.shift, args.x, args.y);
      });
    };
  };
  return {forward(row.down), forward(row.move), forward(row.up)};
}

}  // namespace penlark

#pragma once

#include "dialog/Controls.h"

#include <cstdint>
#include <filesystem>
#include <string>

// The Open/Save dialog: the state of every control under its own name, and one method per event
// handler, named Control_Event, with the event's arguments (mouse positions in twips relative to
// the control). A view draws the controls and calls the handlers; all behaviour lives here.
namespace penlark {

class DialogContext;

// Captions of OpenButton: the dialog's mode.
inline constexpr const char* kOpenMode = "Open";
inline constexpr const char* kSaveMode = "Save";
inline constexpr const char* kPenlarkFilesTitle = "Penlark Files";

// The colour the form is designed with, which the load sequence also gives the file frame, the
// area around the tabs, two labels and the two buttons.
inline constexpr Color kFormColor{236, 234, 217};

// Pictures of changesImageList: four for each of the four buttons.
struct ButtonPictures {
  int Normal;
  int Hover;
  int Pressed;
  int Disabled;
};
inline constexpr ButtonPictures kReloadPictures{1, 2, 3, 4};
inline constexpr ButtonPictures kUpOneLevelPictures{5, 6, 7, 8};
inline constexpr ButtonPictures kDeletePictures{9, 10, 11, 12};
inline constexpr ButtonPictures kCreateFolderPictures{13, 14, 15, 16};
// Pictures of propsImageList for the Views button.
inline constexpr ButtonPictures kViewsPictures{1, 2, 3, 0};

// Pictures of the list's icon lists.
inline constexpr int kDocumentIcon = 1;
inline constexpr int kFolderIcon = 2;

// The entry type of a folder in the listing.
inline constexpr std::int16_t kFolderType = 1;
inline constexpr std::int16_t kDocumentType = 2;

class OpenDialog {
 public:
  explicit OpenDialog(DialogContext& context);
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;

  // --- the form ---
  std::string Caption;
  Rect Position;
  Color BackColor;
  std::string WorkDir;
  std::int16_t PressedButton = 0;
  // The control the dialog last gave the focus to, and how often it has given the focus: a view
  // moves the focus to that control whenever the count changes.
  const Control* FocusControl = nullptr;
  int FocusCount = 0;

  TabStripControl TabStrip;
  Frame ConnectionFrame;
  Label UrlDomainLabel;
  ComboBox UrlDomainCombo;
  Label UsernameLabel;
  TextBox UsernameText;
  Label PasswordLabel;
  TextBox PasswordText;
  CheckBox SavePwdCheck;
  CommandButton LogInButton;
  TextBox ConnectionText;

  Frame OpenFileFrame;
  Label LookInLabel;
  ImageComboBox ImageCombo;
  ListViewControl ListView;
  Label FilenameLabel;
  TextBox FilenameText;
  CommandButton OpenButton;
  CommandButton Cancel;

  ImageButton UpOneLevelImage;
  ImageButton ReloadImage;
  ImageButton reloadImage2;
  ImageButton DeleteImage;
  ImageButton CreateFolderImage;
  ImageButton PropsImage;
  ImageButton LineImage;

  MenuItem menuData;
  MenuItem menuOpen;
  MenuItem menuExit;
  MenuItem menuPopup;
  MenuItem menuIcons;
  MenuItem menuSmallIcons;
  MenuItem menuList;
  MenuItem menuReport;

  // --- frame, modes and cursor ---
  void Form_Load();
  void Form_Unload();
  // The window's close box: the dialog is unloaded.
  void Form_QueryUnload();
  void Cancel_Click();
  void Help();
  bool SetMouseCursor(std::int32_t status);
  void SetFocus(const Control& control);

  // --- connection tab ---
  void AutoLogin();
  void LogInButton_Click();
  void RedrawTabStrip(bool cond);
  // The user chose a tab (SelectTab also raises it for the program's own choices).
  void TabStrip_Click();
  void SelectTab(int tab);
  void UrlDomainCombo_Click();
  void UrlDomainCombo_LostFocus();

  // --- file list ---
  bool RedrawFiles(const std::string& dir);
  void ListView_ItemClick(int index);
  void ListView_DblClick();
  void ListView_MouseMove(int button, int shift, double x, double y);
  void ImageCombo_Click();
  void menuIcons_Click();
  void menuSmallIcons_Click();
  void menuList_Click();
  void menuReport_Click();
  void PropsImage_MouseDown(int button, int shift, double x, double y);
  void PropsImage_MouseMove(int button, int shift, double x, double y);
  void OpenFileFrame_MouseMove(int button, int shift, double x, double y);

  // --- image buttons and folder operations ---
  void ReloadImage_MouseDown(int button, int shift, double x, double y);
  void ReloadImage_MouseMove(int button, int shift, double x, double y);
  void ReloadImage_MouseUp(int button, int shift, double x, double y);
  void UpOneLevelImage_MouseDown(int button, int shift, double x, double y);
  void UpOneLevelImage_MouseMove(int button, int shift, double x, double y);
  void UpOneLevelImage_MouseUp(int button, int shift, double x, double y);
  void DeleteImage_MouseDown(int button, int shift, double x, double y);
  void DeleteImage_MouseMove(int button, int shift, double x, double y);
  void DeleteImage_MouseUp(int button, int shift, double x, double y);
  void CreateFolderImage_MouseDown(int button, int shift, double x, double y);
  void CreateFolderImage_MouseMove(int button, int shift, double x, double y);
  void CreateFolderImage_MouseUp(int button, int shift, double x, double y);
  void NormalizeImages();

  // --- the action button and the document flows ---
  void OpenButton_Click();
  void OpenXMLFile();
  void SaveToXMLFile();
  // Whether the word processor has the local copy at this path open; activates it when so.
  bool IsDocOpen(const std::string& localCopy);

 private:
  void DesignForm();
  std::filesystem::path HistoryFile() const;
  std::string HistoryHeaderLine() const;
  void ShowHistoryInCombo();
  void SetViewMode(MenuItem& checked, ListViewMode mode);
  void PressImageButton(ImageButton& button, std::int16_t code, const ButtonPictures& pictures);
  void HoverImageButton(ImageButton& button, std::int16_t code, const ButtonPictures& pictures,
                        double x, double y);
  void SetUpOneLevel(bool enabled);
  // The text of the trail's selected item, `whenNone` when no item is selected.
  std::string TrailFolder(const std::string& whenNone) const;
  void EnterFolder(const std::string& dir, const std::string& name);
  void OpenInWord(const std::string& local);
  std::string AskNewFolderName();
  // The type of the selected list item's entry in the listing of `folder`; 0 when the listing
  // is not that folder's.
  std::int16_t SelectedEntryType(const std::string& folder) const;
  // "The name NAME cannot be used for WHAT.", for a name that cannot be one step of a path.
  void RefuseName(const std::string& name, const char* what);

  DialogContext& context_;
};

}  // namespace penlark

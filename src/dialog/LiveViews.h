#pragma once

#include "dialog/DialogView.h"

#include <algorithm>
#include <memory>
#include <vector>

// The factory of a toolkit's views: creates the view of each dialog and keeps track of those
// alive, so that they can all be drawn anew before a message box covers them.
namespace penlark {

// `View` is a DialogView made from its dialog, with Refresh() to draw the controls as they are.
template <class View>
class LiveViews final : public DialogViewFactory {
 public:
  std::unique_ptr<DialogView> CreateView(OpenDialog& dialog) override {
    return std::make_unique<Tracked>(dialog, live_);
  }
  void RefreshAll() {
    for (View* view : live_) {
      view->Refresh();
    }
  }
  // The most recently created view still alive, or nullptr.
  View* Newest() const { return live_.empty() ? nullptr : live_.back(); }

 private:
  // A view that is in the list of live views for its lifetime.
  class Tracked final : public View {
   public:
    Tracked(OpenDialog& dialog, std::vector<View*>& live) : View(dialog), live_(live) {
      live_.push_back(this);
    }
    ~Tracked() override { std::erase(live_, this); }
    Tracked(const Tracked&) = delete;
    Tracked& operator=(const Tracked&) = delete;

   private:
    std::vector<View*>& live_;
  };

  std::vector<View*> live_;
};

}  // namespace penlark

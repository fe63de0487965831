#include "automation/Component.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPrompts.h"
#include "support/dialog/ScriptedDialogView.h"
#include "word/LocalWord.h"

#include <thread>

#include <gtest/gtest.h>

namespace penlark::testing {
namespace {

ComponentParts ScriptedParts() {
  return ComponentParts{.word = std::make_shared<LocalWord>(),
                        .prompts = std::make_unique<ScriptedPrompts>(),
                        .pointer = std::make_unique<RecordingPointer>(),
                        .shell = std::make_unique<RecordingShell>(),
                        .views = std::make_unique<ScriptedDialogViews>()};
}

// One test, because the factory is installed for the whole process.
TEST(Component, EachThreadGetsItsOwnFromTheInstalledFactory) {
  EXPECT_THROW(Component::Current(), std::logic_error);

  int made = 0;
  Component::SetFactory([&made] {
    ++made;
    return ScriptedParts();
  });
  Component& first = Component::Current();
  EXPECT_EQ(&Component::Current(), &first);
  EXPECT_EQ(made, 1);

  Component* other = nullptr;
  std::thread([&other] { other = &Component::Current(); }).join();
  EXPECT_NE(other, &first);
  EXPECT_EQ(made, 2);

  Component::EndCurrent();
  Component::Current();
  EXPECT_EQ(made, 3);
  Component::EndCurrent();
  Component::SetFactory({});
}

}  // namespace
}  // namespace penlark::testing

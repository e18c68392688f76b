#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window_system.h"

// What every window system promises the screens, checked the same way
// against each: a driver runs a template and acts as the user would, and
// reads back what the window system shows.
namespace ts::test {

class WindowSystemDriver {
public:
    virtual ~WindowSystemDriver() = default;

    // Runs template `templateId` modally with `proc`. Once the dialog is
    // shown, `user` acts on it and should end it; a dialog still open after
    // that ends with -99. A dialog that ended during InitDialog is never
    // shown and `user` never runs. Returns the run's result.
    virtual int run(int templateId, platform::DialogProc proc,
                    std::function<void(platform::Dialog&)> user) = 0;

    // The user's actions on the shown dialog.
    virtual void click(platform::Dialog& dialog, int id) = 0;
    virtual void pressUpArrow(platform::Dialog& dialog, int id) = 0;
    virtual void pressDownArrow(platform::Dialog& dialog, int id) = 0;
    // Empties field `id`, then pastes `text` into it.
    virtual void pasteInto(platform::Dialog& dialog, int id, std::u16string_view text) = 0;
    // Chooses entry `index` of the list-only combo box `id`.
    virtual void choose(platform::Dialog& dialog, int id, int index) = 0;

    // What the window system shows: a control's whole text, the name a
    // screen reader is given beyond the control's own text (empty when
    // none), a combo box's choices, a list view's column titles and rows.
    virtual std::u16string shownText(platform::Dialog& dialog, int id) = 0;
    virtual std::u16string spokenName(platform::Dialog& dialog, int id) = 0;
    virtual std::vector<std::u16string> choices(platform::Dialog& dialog, int id) = 0;
    virtual std::vector<std::u16string> columns(platform::Dialog& dialog, int id) = 0;
    virtual std::vector<std::vector<std::u16string>> rows(platform::Dialog& dialog, int id) = 0;
};

using DriverFactory = std::function<std::unique_ptr<WindowSystemDriver>()>;

class WindowSystemContract : public ::testing::TestWithParam<DriverFactory> {
protected:
    void SetUp() override { driver = GetParam()(); }
    std::unique_ptr<WindowSystemDriver> driver;
};

}  // namespace ts::test

#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_core.h"
#include "platform/web/web_list_view.h"
#include "resources/dialog_template.h"

namespace ts::platform {

class WebWindowSystem;

// One running dialog in the page: the controls of its template and its
// procedure. Its message loop waits for the page's next event of this
// window, hands it to the procedure, and ends at endDialog.
class WebDialog final : public DialogCore {
public:
    WebDialog(WebWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
              bool isMain);
    ~WebDialog();

    // Builds the controls and sends InitDialog; false when the procedure
    // ended the dialog already.
    bool open();
    // Shows the dialog and runs its loop until endDialog.
    void runLoop();

    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;
    bool setClipboardText(std::u16string_view text) override;
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension) override;
    bool quitRequested() const override { return false; }
    // A download: the browser puts it where its user keeps downloads.
    Delivery deliverFile(const FileToDeliver& file, std::string_view bytes) override;
    std::u16string pickFile(std::u16string_view extension) override;
    bool shareText(std::u16string_view text) override;
    void addCommandButton(int id, std::u16string_view text) override;
    // Under the caption, announced to screen readers as a status.
    void showNotice(std::u16string_view text) override;
    void describeItem(int id, std::u16string_view text) override;
    int runModal(int templateId, DialogProc proc) override;
    int screenWidth() const override;
    int screenHeight() const override;
    // The page lays its windows out itself, to the width of the phone or
    // the browser window; the placement asked for changes nothing.
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override {}

    // --- Links to this site carrying a party (web_link.h).
    std::u16string linkTo(std::string_view payload, char format) override;
    void showLink(std::u16string_view link) override;

private:
    // Shows what the lists hold before the program waits for the user.
    void flushLists();

    std::u16string controlText(std::size_t index) const override;
    void setControlText(std::size_t index, std::u16string_view text) override;
    void setSpokenName(std::size_t index, std::u16string_view name) override;
    int limitField(std::size_t index, int units) override;
    std::size_t fieldCaret(std::size_t index) const override;
    void setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) override;
    // The page shows only an up-down control's arrows: its position lives here.
    int upDownAt(std::size_t index) const override { return positions_[index]; }
    void setUpDownAt(std::size_t index, int position) override { positions_[index] = position; }
    void insertChoice(std::size_t index, int position, std::u16string_view text) override;
    void clearChoices(std::size_t index) override;
    int choiceAt(std::size_t index) const override;
    void selectChoice(std::size_t index, int position) override;
    int choiceCount(std::size_t index) const override;
    ListView* listAt(std::size_t index) override;
    int showMenu(std::size_t index, std::span<const MenuEntry> entries) override;
    void showControl(std::size_t index, bool shown) override;
    [[noreturn]] void outOfMemory() override;

    WebWindowSystem& system_;
    bool isMain_;
    int handle_ = -1;
    std::vector<int> positions_;
    std::map<std::size_t, std::unique_ptr<WebListView>> lists_;
};

}  // namespace ts::platform

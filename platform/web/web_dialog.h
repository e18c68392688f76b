#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/web/web_controls.h"
#include "platform/web/web_list_view.h"
#include "platform/window_system.h"
#include "resources/dialog_template.h"

namespace ts::platform {

class WebWindowSystem;

// One running dialog in the page: the controls of its template and its
// procedure. Its message loop waits for the page's next event of this
// window, hands it to the procedure, and ends at endDialog.
class WebDialog final : public Dialog {
public:
    WebDialog(WebWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
              bool isMain);
    WebDialog(const WebDialog&) = delete;
    WebDialog& operator=(const WebDialog&) = delete;
    ~WebDialog();

    // Builds the controls and sends InitDialog; false when the procedure
    // ended the dialog already.
    bool open();
    // Shows the dialog and runs its loop until endDialog.
    void runLoop();
    int result() const { return result_; }

    std::u16string itemText(int id) const override;
    void setItemText(int id, std::u16string_view text) override;
    void limitText(int id, int units) override;
    void endDialog(int result) override;
    MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                             MessageStyle style) override;
    int popupMenu(int id, std::span<const MenuEntry> entries) override;
    bool setClipboardText(std::u16string_view text) override;
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension) override;
    bool quitRequested() const override { return false; }
    // A download: the browser puts it where its user keeps downloads.
    Delivery deliverFile(const FileToDeliver& file, std::string_view bytes) override;
    std::u16string pickFile(std::u16string_view extension) override;
    bool shareText(std::u16string_view text) override;
    void addCommandButton(int id, std::u16string_view text) override;
    int runModal(int templateId, DialogProc proc) override;
    int upDownPosition(int id) const override;
    void setUpDownPosition(int id, int position) override;
    void insertComboEntry(int id, int position, std::u16string_view text) override;
    ListView* listView(int id) override;
    int screenWidth() const override;
    int screenHeight() const override;
    // The page lays its windows out itself, to the width of the phone or
    // the browser window; the placement asked for changes nothing.
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override {}

private:
    // The control's place in the template (the first with that id), or -1.
    int indexOf(int id) const;
    void dispatch(const Message& message);
    void step(int id, int delta);

    WebWindowSystem& system_;
    const res::DialogTemplate& layout_;
    DialogProc proc_;
    bool isMain_;
    int handle_ = -1;
    std::vector<WebControl> controls_;
    std::map<int, int> byId_;
    std::map<int, std::unique_ptr<WebListView>> lists_;
    bool ended_ = false;
    int result_ = 0;
};

}  // namespace ts::platform

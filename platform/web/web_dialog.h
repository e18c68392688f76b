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

    // The page lays its windows out itself, to the width of the phone or
    // the browser window: placeWindow changes nothing, and invalidate has
    // nothing to do. No quit is ever asked of a page.
    TS_DIALOG_WINDOW_CALLS;
    // A download: the browser puts it where its user keeps downloads.
    Delivery deliverFile(const FileToDeliver& file, std::string_view bytes) override;
    bool shareText(std::u16string_view text) override;
    void addCommandButton(int id, std::u16string_view text) override;
    // Under the caption, announced to screen readers as a status.
    void showNotice(std::u16string_view text) override;
    void describeItem(int id, std::u16string_view text) override;

private:
    // Shows what the lists hold before the program waits for the user.
    void flushLists();

    TS_DIALOG_CORE_SIDE;

    WebWindowSystem& system_;
    bool isMain_;
    int handle_ = -1;
    std::vector<int> positions_;  // the up-down controls': the page shows only their arrows
    std::map<std::size_t, std::unique_ptr<WebListView>> lists_;
};

}  // namespace ts::platform

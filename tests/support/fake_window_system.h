#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_core.h"
#include "platform/site.h"
#include "platform/window_system.h"

// A scripted stand-in for the window system: dialogs keep their item texts,
// list rows and control positions in memory, message boxes are recorded and
// answered from a queue, and each modal run plays a script.
namespace ts::test {

class FakeListView final : public platform::ListView {
public:
    struct Column {
        std::u16string title;
        int width;
        std::string role;
    };

    int selectedRow() const override { return selected; }
    void selectRow(int index) override;
    void deleteRow(int index) override;
    void deleteAllRows() override;
    void deleteColumns(int count) override;
    void insertColumn(int position, std::u16string_view title, int width,
                      std::string_view role) override;
    void setCell(std::u16string_view text, int subitem, int row, res::Tone tone) override;
    void setEmptyText(std::u16string_view text) override { emptyText = text; }

    std::vector<Column> columns;
    std::u16string emptyText;                       // what the list says while it has no rows
    std::vector<std::vector<std::u16string>> rows;  // one text per column
    std::vector<std::vector<res::Tone>> tones;      // one tone per cell of `rows`
    int selected = -1;
};

struct MessageBoxCall {
    std::u16string text;
    std::u16string caption;
    platform::MessageStyle style;
};

struct Download {
    std::u16string name;
    std::u16string mediaType;
    std::string bytes;
};

struct SavePathCall {
    std::u16string suggestedName;
    std::u16string typeName;
    std::u16string extension;
};

class FakeWindowSystem;

// A dialog of a template, standing on the same core as the real window
// systems: the same lookup by id and the same rules for each kind of
// control, with the controls' state kept in the maps below.
class FakeDialog final : public platform::DialogCore {
public:
    FakeDialog(FakeWindowSystem& system, const res::DialogTemplate& layout,
               platform::DialogProc proc);
    // A dialog of one of the program's templates, which must exist.
    FakeDialog(FakeWindowSystem& system, int templateId, platform::DialogProc proc);

    platform::MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                                       platform::MessageStyle style) override;
    bool setClipboardText(std::u16string_view text) override;
    std::u16string askSavePath(std::u16string_view suggestedName, std::u16string_view typeName,
                               std::u16string_view extension) override;
    bool quitRequested() const override;
    platform::Delivery deliverFile(const platform::FileToDeliver& file,
                                   std::string_view bytes) override;
    bool shareText(std::u16string_view text) override;
    void addCommandButton(int id, std::u16string_view text) override;
    void showNotice(std::u16string_view text) override { notice = text; }
    void describeItem(int id, std::u16string_view text) override { descriptions[id] = text; }
    int runModal(int templateId, platform::DialogProc proc) override;
    int screenWidth() const override;
    int screenHeight() const override;
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override { ++invalidations; }

    // Driving the dialog as a user would.
    void send(const platform::Message& message) { dispatch(message); }
    void command(int id);
    // Replaces the field's text with `text` and puts the caret after it.
    void type(int id, std::u16string_view text);
    void clickUp(int arrowsId) { stepUpDown(arrowsId, -1); }    // 10 -> 9, then a scroll message
    void clickDown(int arrowsId) { stepUpDown(arrowsId, +1); }  // 10 -> 11, then a scroll message
    // Chooses entry `index` of a list-only combo box as the user does: a
    // change of entry reports the combo box's command.
    void choose(int comboId, int index);
    // Pastes `text` at the caret of field `id` as a native field takes it:
    // cut at the field's limit by units, then mended as the window system
    // mends a change.
    void paste(int id, std::u16string_view text);

    int templateId;
    int invalidations = 0;
    std::u16string notice;                       // the line under the caption, empty when none
    std::map<int, bool> hidden;                  // showItem, by control id
    std::map<int, std::u16string> descriptions;  // describeItem, by control
    struct Placement {
        int x = -1, y = -1, width = 0, height = 0;
    } placement;
    std::map<int, std::u16string> items;
    std::map<int, std::size_t> carets;                    // of fields the user typed into
    std::map<int, std::u16string> spokenNames;            // what a screen reader says
    std::map<int, int> textLimits;                        // limitText, by field
    std::vector<std::pair<int, std::u16string>> textLog;  // every setItemText, in order
    std::map<int, int> upDown;
    std::map<int, std::vector<std::u16string>> comboEntries;
    std::map<int, int> comboSelected;  // list-only combo boxes: the entry shown, by id
    FakeListView list;

private:
    std::u16string controlText(std::size_t index) const override;
    void setControlText(std::size_t index, std::u16string_view text) override;
    void setSpokenName(std::size_t index, std::u16string_view name) override;
    int limitField(std::size_t index, int units) override;
    std::size_t fieldCaret(std::size_t index) const override;
    void setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) override;
    int upDownAt(std::size_t index) const override;
    void setUpDownAt(std::size_t index, int position) override;
    void insertChoice(std::size_t index, int position, std::u16string_view text) override;
    void clearChoices(std::size_t index) override;
    int choiceAt(std::size_t index) const override;
    void selectChoice(std::size_t index, int position) override;
    int choiceCount(std::size_t index) const override;
    platform::ListView* listAt(std::size_t /*index*/) override { return &list; }
    int showMenu(std::size_t index, std::span<const platform::MenuEntry> entries) override;
    void showControl(std::size_t index, bool shown) override { hidden[control(index).id] = !shown; }
    [[noreturn]] void outOfMemory() override;

    FakeWindowSystem& system_;
};

// Also the site a test hands the program, as the browser's entry point does.
class FakeWindowSystem final : public platform::WindowSystem, public platform::Site {
public:
    using Script = std::function<void(FakeDialog&)>;

    int runModal(int templateId, platform::DialogProc proc) override;
    platform::MessageAnswer messageBox(std::u16string_view text, std::u16string_view caption,
                                       platform::MessageStyle style) override;
    bool quitRequested() const override { return quitting; }
    std::u16string linkTo(std::string_view payload, char format) override;
    void showLink(std::u16string_view link) override { linksShown.emplace_back(link); }
    std::optional<std::string> pickFile(std::u16string_view /*extension*/) override {
        return pickedBytes;
    }

    // The next modal run of `templateId` plays `script` after its
    // InitDialog; a run with no script queued ends at once with result 0.
    // A template that does not exist runs nothing and gives -1.
    void onNextRun(int templateId, Script script);
    // Runs a template of the test's own, as runModal runs the program's.
    int runTemplate(const res::DialogTemplate& layout, platform::DialogProc proc);
    // Answers for the next message boxes, in order; Ok once they run out.
    void answerNext(platform::MessageAnswer answer) { answers.push_back(answer); }

    int screenWidth = 240;
    int screenHeight = 320;
    std::vector<MessageBoxCall> messageBoxes;
    // Told of each message box before it is answered (a test may change the
    // world there, as a user would before pressing a button).
    std::function<void(const MessageBoxCall&)> onMessageBox;
    std::deque<platform::MessageAnswer> answers;
    // Context menus shown (the entries' texts), and the commands chosen in
    // the next ones, in order; 0 (nothing chosen) once they run out.
    std::vector<std::vector<std::u16string>> menus;
    std::deque<int> menuChoices;
    // The clipboard's text, and whether the clipboard accepts text.
    std::u16string clipboard;
    bool clipboardWorks = true;
    // Save-file dialogs asked for, and the path the next one returns.
    std::vector<SavePathCall> savePathCalls;
    std::u16string savePathAnswer;
    // Files handed over as downloads (a browser) rather than through the
    // save-file dialog: the downloads made and whether they start; the path
    // the next file picker returns (empty: cancelled), texts shared and the
    // extra command buttons shown.
    bool filesAsDownloads = false;
    std::vector<Download> downloads;
    bool downloadsWork = true;
    std::optional<std::string> pickedBytes;
    std::vector<std::u16string> shared;
    std::vector<std::pair<int, std::u16string>> commandButtons;
    // Links, where a test hands this as the site: whether it makes them,
    // the payloads they were made of, and the links shown.
    bool makesLinks = false;
    std::vector<std::string> linkPayloads;
    std::vector<char> linkFormats;
    std::vector<std::u16string> linksShown;
    // Set when the session or a signal asks the program to quit.
    bool quitting = false;
    std::vector<int> runs;  // template ids, in the order they were run
    // Procedures that ran out of memory: the program would end there.
    int outOfMemoryEnds = 0;

private:
    int run(const res::DialogTemplate& layout, platform::DialogProc proc);
    std::map<int, std::deque<Script>> scripts_;
};

}  // namespace ts::test

#include "tests/support/fake_window_system.h"

#include <algorithm>
#include <stdexcept>

#include "resources/dialog_template.h"

namespace ts::test {

namespace {

const res::DialogTemplate& programTemplate(int id) {
    const res::DialogTemplate* layout = res::findDialogTemplate(id);
    if (layout == nullptr) {
        throw std::invalid_argument("no such template");
    }
    return *layout;
}

bool inRange(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

void FakeListView::selectRow(int index) {
    selected = inRange(index, rows.size()) ? index : -1;
}

void FakeListView::deleteRow(int index) {
    if (!inRange(index, rows.size())) {
        return;
    }
    rows.erase(rows.begin() + index);
    tones.erase(tones.begin() + index);
    if (selected == index) {
        selected = -1;
    } else if (selected > index) {
        --selected;
    }
}

void FakeListView::deleteAllRows() {
    rows.clear();
    tones.clear();
    selected = -1;
}

void FakeListView::deleteColumns(int count) {
    for (int i = 0; i < count && !columns.empty(); ++i) {
        columns.erase(columns.begin());
        for (auto& row : rows) {
            row.erase(row.begin());
        }
        for (auto& row : tones) {
            row.erase(row.begin());
        }
    }
}

void FakeListView::insertColumn(int position, std::u16string_view title, int width,
                                std::string_view role) {
    const auto at = std::min(static_cast<std::size_t>(std::max(position, 0)), columns.size());
    const auto place = static_cast<std::ptrdiff_t>(at);
    columns.insert(columns.begin() + place,
                   Column{std::u16string(title), width, std::string(role)});
    for (auto& row : rows) {
        row.insert(row.begin() + place, std::u16string());
    }
    for (auto& row : tones) {
        row.insert(row.begin() + place, res::Tone::None);
    }
}

void FakeListView::setCell(std::u16string_view text, int subitem, int row, res::Tone tone) {
    if (subitem == 0) {
        if (row < 0) {
            return;  // no such position
        }
        const auto at = std::min(static_cast<std::size_t>(row), rows.size());
        std::vector<std::u16string> cells(columns.size());
        std::vector<res::Tone> cellTones(columns.size(), res::Tone::None);
        if (!cells.empty()) {
            cells[0] = std::u16string(text);
            cellTones[0] = tone;
        }
        rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(cells));
        tones.insert(tones.begin() + static_cast<std::ptrdiff_t>(at), std::move(cellTones));
        if (selected >= static_cast<int>(at)) {
            ++selected;
        }
        return;
    }
    if (inRange(row, rows.size()) && inRange(subitem, rows[static_cast<std::size_t>(row)].size())) {
        rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(subitem)] =
            std::u16string(text);
        tones[static_cast<std::size_t>(row)][static_cast<std::size_t>(subitem)] = tone;
    }
}

FakeDialog::FakeDialog(FakeWindowSystem& system, const res::DialogTemplate& layout,
                       platform::DialogProc proc)
    : DialogCore(layout, std::move(proc)), templateId(layout.id), system_(system) {
    for (const auto& control : layout.controls) {
        if (control.id != res::kNoId && control.kind != res::ControlKind::ListView) {
            items.emplace(control.id, control.text);  // the first control wins
        }
    }
    nameControls();
}

FakeDialog::FakeDialog(FakeWindowSystem& system, int id, platform::DialogProc proc)
    : FakeDialog(system, programTemplate(id), std::move(proc)) {}

std::u16string FakeDialog::controlText(std::size_t index) const {
    if (isListOnly(index)) {
        const int selected = choiceAt(index);
        const auto entries = comboEntries.find(control(index).id);
        return selected < 0 || entries == comboEntries.end()
                   ? std::u16string()
                   : entries->second[static_cast<std::size_t>(selected)];
    }
    const auto it = items.find(control(index).id);
    return it == items.end() ? std::u16string() : it->second;
}

void FakeDialog::setControlText(std::size_t index, std::u16string_view text) {
    const int id = control(index).id;
    items[id] = std::u16string(text);
    carets.erase(id);
    textLog.emplace_back(id, std::u16string(text));
}

void FakeDialog::setSpokenName(std::size_t index, std::u16string_view name) {
    // The controls are kept by id: only the one its id reaches is named.
    const std::size_t* reached = indexOf(control(index).id);
    if (reached != nullptr && *reached == index) {
        spokenNames[control(index).id] = std::u16string(name);
    }
}

int FakeDialog::limitField(std::size_t index, int units) {
    textLimits[control(index).id] = units;
    return units;
}

std::size_t FakeDialog::fieldCaret(std::size_t index) const {
    const int id = control(index).id;
    const auto caret = carets.find(id);
    return caret != carets.end() ? caret->second : controlText(index).size();
}

void FakeDialog::setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) {
    const int id = control(index).id;
    items[id] = std::u16string(text);
    carets[id] = caret;
}

void FakeDialog::paste(int id, std::u16string_view text) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr) {
        return;
    }
    std::u16string field = controlText(*index);
    const std::size_t caret = std::min(fieldCaret(*index), field.size());
    std::u16string_view taken = text;
    if (const auto limit = textLimits.find(id); limit != textLimits.end()) {
        const std::size_t room = field.size() < static_cast<std::size_t>(limit->second)
                                     ? static_cast<std::size_t>(limit->second) - field.size()
                                     : 0;
        taken = taken.substr(0, room);
    }
    field.insert(caret, taken);
    setFieldText(*index, field, caret + taken.size());
    repairField(id);
}

void FakeDialog::type(int id, std::u16string_view text) {
    setItemText(id, text);
}

int FakeDialog::upDownAt(std::size_t index) const {
    const auto it = upDown.find(control(index).id);
    return it == upDown.end() ? 0 : it->second;
}

void FakeDialog::setUpDownAt(std::size_t index, int position) {
    upDown[control(index).id] = position;
}

void FakeDialog::insertChoice(std::size_t index, int position, std::u16string_view text) {
    auto& entries = comboEntries[control(index).id];
    // A position outside the list appends, as the native lists do.
    const bool inside = position >= 0 && static_cast<std::size_t>(position) <= entries.size();
    const std::size_t at = inside ? static_cast<std::size_t>(position) : entries.size();
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::u16string(text));
    // The entry shown stays the one it was.
    if (const auto selected = comboSelected.find(control(index).id);
        selected != comboSelected.end() && selected->second >= static_cast<int>(at)) {
        ++selected->second;
    }
}

void FakeDialog::clearChoices(std::size_t index) {
    comboEntries.erase(control(index).id);
    comboSelected.erase(control(index).id);
}

int FakeDialog::choiceAt(std::size_t index) const {
    const auto selected = comboSelected.find(control(index).id);
    return selected == comboSelected.end() ? -1 : selected->second;
}

void FakeDialog::selectChoice(std::size_t index, int position) {
    if (position < 0) {
        comboSelected.erase(control(index).id);
    } else {
        comboSelected[control(index).id] = position;
    }
}

int FakeDialog::choiceCount(std::size_t index) const {
    const auto entries = comboEntries.find(control(index).id);
    return entries == comboEntries.end() ? 0 : static_cast<int>(entries->second.size());
}

void FakeDialog::choose(int comboId, int entry) {
    const std::size_t* index = indexOf(comboId);
    if (index == nullptr || !isListOnly(*index) || entry < 0 || entry >= choiceCount(*index) ||
        entry == choiceAt(*index)) {
        return;  // the same entry again is no change
    }
    selectChoice(*index, entry);
    command(comboId);
}

void FakeDialog::outOfMemory() {
    ++system_.outOfMemoryEnds;
    throw;  // the test sees the end where the program would have stopped
}

platform::MessageAnswer FakeDialog::messageBox(std::u16string_view text,
                                               std::u16string_view caption,
                                               platform::MessageStyle style) {
    return system_.messageBox(text, caption, style);
}

int FakeDialog::showMenu(std::size_t /*index*/, std::span<const platform::MenuEntry> entries) {
    std::vector<std::u16string> texts;
    texts.reserve(entries.size());
    for (const auto& entry : entries) {
        texts.emplace_back(entry.text);
    }
    system_.menus.push_back(std::move(texts));
    if (system_.menuChoices.empty()) {
        return 0;
    }
    const int choice = system_.menuChoices.front();
    system_.menuChoices.pop_front();
    return choice;
}

bool FakeDialog::setClipboardText(std::u16string_view text) {
    if (!system_.clipboardWorks) {
        return false;
    }
    system_.clipboard = std::u16string(text);
    return true;
}

std::u16string FakeDialog::askSavePath(std::u16string_view suggestedName,
                                       std::u16string_view typeName,
                                       std::u16string_view extension) {
    system_.savePathCalls.push_back(
        {std::u16string(suggestedName), std::u16string(typeName), std::u16string(extension)});
    return system_.savePathAnswer;
}

platform::Delivery FakeDialog::deliverFile(const platform::FileToDeliver& file,
                                           std::string_view bytes) {
    if (!system_.filesAsDownloads) {
        return Dialog::deliverFile(file, bytes);  // the desktops' save-file dialog
    }
    if (!system_.downloadsWork) {
        return platform::Delivery::Failed;
    }
    system_.downloads.push_back(
        {std::u16string(file.name), std::u16string(file.mediaType), std::string(bytes)});
    return platform::Delivery::Delivered;
}

bool FakeDialog::shareText(std::u16string_view text) {
    system_.shared.emplace_back(text);
    return true;
}

void FakeDialog::addCommandButton(int id, std::u16string_view text) {
    system_.commandButtons.emplace_back(id, std::u16string(text));
}

bool FakeDialog::quitRequested() const {
    return system_.quitting;
}

int FakeDialog::runModal(int id, platform::DialogProc proc) {
    return system_.runModal(id, std::move(proc));
}

int FakeDialog::screenWidth() const {
    return system_.screenWidth;
}
int FakeDialog::screenHeight() const {
    return system_.screenHeight;
}

void FakeDialog::placeWindow(int x, int y, int width, int height) {
    placement = {x, y, width, height};
}

void FakeDialog::command(int id) {
    send({platform::Message::Kind::Command, id});
}

int FakeWindowSystem::runModal(int templateId, platform::DialogProc proc) {
    runs.push_back(templateId);
    const res::DialogTemplate* layout = res::findDialogTemplate(templateId);
    return layout == nullptr ? -1 : run(*layout, std::move(proc));
}

int FakeWindowSystem::runTemplate(const res::DialogTemplate& layout, platform::DialogProc proc) {
    runs.push_back(layout.id);
    return run(layout, std::move(proc));
}

platform::MessageAnswer FakeWindowSystem::messageBox(std::u16string_view text,
                                                     std::u16string_view caption,
                                                     platform::MessageStyle style) {
    messageBoxes.push_back({std::u16string(text), std::u16string(caption), style});
    if (onMessageBox) {
        onMessageBox(messageBoxes.back());
    }
    if (answers.empty()) {
        return platform::MessageAnswer::Ok;
    }
    const platform::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeWindowSystem::onNextRun(int templateId, Script script) {
    scripts_[templateId].push_back(std::move(script));
}

int FakeWindowSystem::run(const res::DialogTemplate& layout, platform::DialogProc proc) {
    FakeDialog dialog(*this, layout, std::move(proc));
    dialog.send({platform::Message::Kind::InitDialog, 0});
    auto& queue = scripts_[layout.id];
    if (!queue.empty()) {
        Script script = std::move(queue.front());
        queue.pop_front();
        script(dialog);
    }
    return dialog.result();
}

std::u16string FakeWindowSystem::linkTo(std::string_view payload, char format) {
    if (!makesLinks) {
        return {};
    }
    linkPayloads.emplace_back(payload);
    linkFormats.push_back(format);
    return u"https://example.org/#" + std::u16string(payload.size(), u'x');
}

}  // namespace ts::test

#include "platform/dialog_core.h"

#include <algorithm>
#include <new>
#include <utility>

#include "storage/text.h"

namespace ts::platform {

namespace {

using res::ControlKind;

constexpr int kMinUpDownPosition = -32768;
constexpr int kMaxUpDownPosition = 32767;

bool hasText(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::Edit:
        case ControlKind::Static:
        case ControlKind::ComboBox:
            return true;
        case ControlKind::GroupBox:
        case ControlKind::ListView:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            break;
    }
    return false;
}

}  // namespace

int clampUpDownPosition(int position) {
    return std::clamp(position, kMinUpDownPosition, kMaxUpDownPosition);
}

DialogCore::DialogCore(const res::DialogTemplate& layout, DialogProc proc)
    : layout_(layout), proc_(std::move(proc)) {
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        if (layout_.controls[i].id != res::kNoId) {
            byId_.emplace(layout_.controls[i].id, i);  // the first control wins
        }
    }
}

const std::size_t* DialogCore::indexOf(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : &found->second;
}

std::u16string DialogCore::spokenNameAt(std::size_t index, std::u16string_view text) const {
    return res::spokenName(control(index), text);
}

void DialogCore::nameControls() {
    for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
        const std::u16string name = spokenNameAt(i, control(i).text);
        if (!name.empty()) {
            setSpokenName(i, name);
        }
    }
}

std::u16string DialogCore::itemText(int id) const {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || !hasText(control(*index).kind)) {
        return {};
    }
    std::u16string text = controlText(*index);
    if (text.size() > kMaxItemText) {
        text.resize(kMaxItemText);
    }
    return text;
}

void DialogCore::setItemText(int id, std::u16string_view text) {
    const std::size_t* index = indexOf(id);
    // A list-only combo box shows its selected entry, nothing else.
    if (index == nullptr || !hasText(control(*index).kind) || isListOnly(*index)) {
        return;
    }
    setControlText(*index, text);
    if (control(*index).kind == ControlKind::Static && !control(*index).accessibleName.empty()) {
        // A value's spoken name carries the value.
        setSpokenName(*index, spokenNameAt(*index, text));
    }
}

void DialogCore::limitText(int id, int units) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || control(*index).kind != ControlKind::Edit) {
        return;
    }
    const int kept = limitField(*index, std::max(units, 0));
    // Text already in the field is cut to the limit as well, at a character
    // boundary.
    std::u16string text = controlText(*index);
    if (cutToWholeCharacters(text, static_cast<std::size_t>(std::max(kept, 0)))) {
        setFieldText(*index, text, text.size());
    }
}

void DialogCore::repairField(int id) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr ||
        (control(*index).kind != ControlKind::Edit &&
         control(*index).kind != ControlKind::ComboBox) ||
        isListOnly(*index)) {
        return;
    }
    std::u16string text = controlText(*index);
    std::size_t caret = std::min(fieldCaret(*index), text.size());
    if (dropLoneSurrogates(text, caret)) {
        setFieldText(*index, text, caret);
    }
}

void DialogCore::endDialog(int result) {
    if (ended_) {
        return;
    }
    ended_ = true;
    result_ = result;
    ending(result);
}

int DialogCore::popupMenu(int id, std::span<const MenuEntry> entries) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || entries.empty()) {
        return 0;
    }
    return showMenu(*index, entries);
}

int DialogCore::upDownPosition(int id) const {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || control(*index).kind != ControlKind::UpDown) {
        return 0;
    }
    return upDownAt(*index);
}

void DialogCore::setUpDownPosition(int id, int position) {
    const std::size_t* index = indexOf(id);
    if (index != nullptr && control(*index).kind == ControlKind::UpDown) {
        setUpDownAt(*index, clampUpDownPosition(position));
    }
}

void DialogCore::stepUpDown(int id, int delta) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || control(*index).kind != ControlKind::UpDown) {
        return;
    }
    // Within the 16-bit range the sum cannot overflow.
    const int from = clampUpDownPosition(upDownAt(*index));
    setUpDownAt(*index, clampUpDownPosition(from + std::clamp(delta, -1, 1)));
    dispatch(Message{Message::Kind::VScroll, id});
}

void DialogCore::insertComboEntry(int id, int position, std::u16string_view text) {
    const std::size_t* index = indexOf(id);
    if (index != nullptr && control(*index).kind == ControlKind::ComboBox) {
        insertChoice(*index, position, text);
    }
}

bool DialogCore::isListOnly(std::size_t index) const {
    return control(index).kind == ControlKind::ComboBox &&
           (control(index).style & res::kListOnly) != 0;
}

void DialogCore::clearComboEntries(int id) {
    const std::size_t* index = indexOf(id);
    if (index != nullptr && control(*index).kind == ControlKind::ComboBox) {
        clearChoices(*index);
    }
}

int DialogCore::comboSelection(int id) const {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || !isListOnly(*index)) {
        return -1;
    }
    return choiceAt(*index);
}

void DialogCore::selectComboEntry(int id, int entry) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || !isListOnly(*index)) {
        return;
    }
    selectChoice(*index, entry >= 0 && entry < choiceCount(*index) ? entry : -1);
}

ListView* DialogCore::listView(int id) {
    const std::size_t* index = indexOf(id);
    if (index == nullptr || control(*index).kind != ControlKind::ListView) {
        return nullptr;
    }
    return listAt(*index);
}

void DialogCore::dispatch(const Message& message) {
    // After endDialog the procedure hears nothing more, even from events
    // that were on their way before the loop noticed the end.
    if (ended_ || !proc_) {
        return;
    }
    try {
        proc_(*this, message);
    } catch (const std::bad_alloc&) {
        outOfMemory();
    }
}

void DialogCore::showItem(int id, bool shown) {
    if (const std::size_t* index = indexOf(id)) {
        showControl(*index, shown);
    }
}

}  // namespace ts::platform

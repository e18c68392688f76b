#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "resources/dialog_template.h"

// The controls of a window in the page (web_controls.js), each addressed by
// the page's window `handle` and its place in the template.
namespace ts::platform::web {

// Builds the controls of `layout` into window `handle`, in template order,
// which is also the page's order and so the Tab order, each with the name a
// screen reader speaks for it.
void addControls(int handle, const res::DialogTemplate& layout);

// The text a button, field or static text shows, whole.
std::u16string controlText(int handle, std::size_t index);
void setControlText(int handle, std::size_t index, std::u16string_view text);
void setSpokenName(int handle, std::size_t index, std::u16string_view name);
void limitField(int handle, std::size_t index, int units);
// The caret of a field, and its text with the caret put back at `caret`.
std::size_t fieldCaret(int handle, std::size_t index);
void setFieldText(int handle, std::size_t index, std::u16string_view text, std::size_t caret);
void insertChoice(int handle, std::size_t index, int position, std::u16string_view text);
void clearChoices(int handle, std::size_t index);
// A list to choose from (a <select>): the entry it shows (-1: none), that
// entry set, and how many it has.
int choiceAt(int handle, std::size_t index);
void selectChoice(int handle, std::size_t index, int position);
int choiceCount(int handle, std::size_t index);

}  // namespace ts::platform::web

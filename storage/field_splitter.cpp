#include "storage/field_splitter.h"

#include <cstddef>

namespace ts {

void FieldSplitter::clearSeparators() {
    separatorCount_ = 0;
}

void FieldSplitter::addSeparator(char16_t unit) {
    if (unit == u'\0' || separatorCount_ >= kMaxSeparators) {
        return;
    }
    separators_[static_cast<std::size_t>(separatorCount_)] = unit;
    ++separatorCount_;
}

bool FieldSplitter::isQuote(char16_t unit) {
    return unit == u'"' || unit == u'\'';
}

bool FieldSplitter::isLineFeed(char16_t unit) {
    return unit == u'\n';
}

bool FieldSplitter::isSeparator(char16_t unit) const {
    if (unit == u'\0') {
        return false;
    }
    for (int i = 0; i < separatorCount_; ++i) {
        if (separators_[static_cast<std::size_t>(i)] == unit) {
            return true;
        }
    }
    return false;
}

void FieldSplitter::split(std::u16string_view line) {
    fields_.clear();
    std::u16string current;
    bool inQuote = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char16_t unit = line[i];
        if (isQuote(unit)) {
            // Inside quotes a quote character written twice stands for itself;
            // this is how the writer keeps quotes in a name. Otherwise either
            // quote character opens or closes a quote, whichever began it.
            if (inQuote && i + 1 < line.size() && line[i + 1] == unit) {
                current.push_back(unit);
                ++i;
            } else {
                inQuote = !inQuote;
            }
        } else if (isLineFeed(unit)) {
            // Line feeds never become part of a field.
        } else if (!inQuote && isSeparator(unit)) {
            fields_.push_back(current);
            current.clear();
        } else {
            // Inside quotes everything, separators included, is field text.
            current.push_back(unit);
        }
    }
    fields_.push_back(std::move(current));
}

int FieldSplitter::fieldCount() const {
    return static_cast<int>(fields_.size());
}

std::u16string FieldSplitter::field(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= fields_.size()) {
        return {};
    }
    return fields_[static_cast<std::size_t>(index)];
}

bool fieldEquals(std::u16string_view a, std::u16string_view b) {
    return a == b;
}

}  // namespace ts

#pragma once

#include <string>
#include <string_view>

namespace ts {

class Party;

// What the party and its groups have in common: a name, and for a group the
// party that owns it. How they are written to and read from the settings
// file is storage's business (storage/settings_file.h), so nothing here
// knows of files. Destruction is deliberately not virtual: an Entry is never
// destroyed through a base pointer, so the destructor is protected.
class Entry {
public:
    explicit Entry(std::u16string name) : name_(std::move(name)) {}

    const std::u16string& name() const { return name_; }
    void setName(std::u16string_view name) { name_.assign(name); }

    // The party that owns this entry; null for a party and for a group that
    // has not been added yet. Nothing in the program depends on it.
    Party* parent() const { return parent_; }

protected:
    ~Entry() = default;
    Entry(const Entry&) = default;
    Entry& operator=(const Entry&) = default;

private:
    friend class Party;
    std::u16string name_;
    Party* parent_ = nullptr;
};

}  // namespace ts
